#pragma once

#include <QString>
#include <functional>

// Shows a directory in the desktop's file manager. The result is not reported: a desktop
// without a file manager simply shows nothing.
void OpenDirectoryInFileManager(const QString& directory);

// Tests install a function that receives the directory instead of a file manager being started;
// nullptr restores the real opener.
void SetDirectoryOpenerForTesting(std::function<void(const QString& directory)> opener);
