#include "core/GlossaryPreload.h"

#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "core/DamagedFile.h"
#include "core/Glossary.h"

namespace {

struct Preload {
    std::filesystem::path path;
    std::thread thread;
    // Written by the thread, read after joining it.
    std::unique_ptr<CGlossary> glossary;
    std::exception_ptr error;
    std::vector<DamagedFile> damaged;

    void Run() {
        HoldDamagedFileNotes(&damaged);
        try {
            glossary = std::make_unique<CGlossary>(path);
        } catch (...) {
            error = std::current_exception();
        }
        HoldDamagedFileNotes(nullptr);
    }
};

std::mutex g_preloadMutex;
std::unique_ptr<Preload> g_preload;

// The waiting preload, finished; nullptr when there is none.
std::unique_ptr<Preload> TakeFinished() {
    std::unique_ptr<Preload> preload;
    {
        std::lock_guard<std::mutex> lock(g_preloadMutex);
        preload = std::move(g_preload);
    }
    if (preload) {
        preload->thread.join();
    }
    return preload;
}

}  // namespace

GlossaryPreload::GlossaryPreload(std::filesystem::path path) {
    auto preload = std::make_unique<Preload>();
    preload->path = std::move(path);
    try {
        preload->thread = std::thread([p = preload.get()] { p->Run(); });
    } catch (const std::system_error&) {
        return;  // no thread: the first GetGlossary loads the file itself
    }
    std::lock_guard<std::mutex> lock(g_preloadMutex);
    g_preload = std::move(preload);
}

GlossaryPreload::~GlossaryPreload() {
    TakeFinished();
}

std::unique_ptr<CGlossary> TakePreloadedGlossary(const std::filesystem::path& path) {
    std::unique_ptr<Preload> preload = TakeFinished();
    if (!preload || preload->path != path) {
        return nullptr;
    }
    NoteDamagedFiles(preload->damaged);
    if (preload->error) {
        std::rethrow_exception(preload->error);
    }
    return std::move(preload->glossary);
}

// The program's own glossary (declared in Glossary.h): the preloaded one when there is one.
namespace {
std::mutex g_glossaryInstanceMutex;
std::unique_ptr<CGlossary> g_glossary;
}  // namespace

CGlossary& GetGlossary() {
    std::lock_guard<std::mutex> lock(g_glossaryInstanceMutex);
    if (!g_glossary) {
        const std::filesystem::path path = CGlossary::DefaultPath();
        g_glossary = TakePreloadedGlossary(path);
        if (!g_glossary) {
            g_glossary = std::make_unique<CGlossary>(path);
        }
    }
    return *g_glossary;
}

void ReleaseGlossary() {
    std::lock_guard<std::mutex> lock(g_glossaryInstanceMutex);
    g_glossary.reset();
}
