#pragma once

#include <filesystem>
#include <memory>

class CGlossary;

// Loads the program's glossary on a thread of its own from the start of the process, so that
// reading and indexing a large file overlap the window toolkit's start-up. Nothing changes for
// the window: its first GetGlossary call takes the result, waiting for the thread when it is
// still reading, and the damaged-file notes of that load are made at that moment. Destroying
// the object waits for the thread and drops a result nobody took.
class GlossaryPreload {
public:
    explicit GlossaryPreload(std::filesystem::path path);
    ~GlossaryPreload();
    GlossaryPreload(const GlossaryPreload&) = delete;
    GlossaryPreload& operator=(const GlossaryPreload&) = delete;
};

// For GetGlossary: the glossary preloaded from `path` (once), or nullptr when no preload of that
// path is waiting. Raises what the load raised; the preload is used up either way.
std::unique_ptr<CGlossary> TakePreloadedGlossary(const std::filesystem::path& path);
