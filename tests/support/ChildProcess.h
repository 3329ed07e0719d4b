#pragma once

#include <functional>
#include <string>

// Runs `body` in a forked child process and returns the child's exit code, or -1 when it did
// not exit normally. With `asOrdinaryUser`, a child running as root first becomes "nobody", so
// that file permissions apply to it as they do to every user.
int RunInChild(const std::function<int()>& body, bool asOrdinaryUser = false);

// Makes `path` the ordinary user's when running as root, so that a child of RunInChild meets the
// permissions a user meets on their own files; nothing for anyone else.
void GiveToOrdinaryUser(const std::string& path);
