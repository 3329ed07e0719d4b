#include <memory>
#include <mutex>

#include "core/Glossary.h"
#include "core/GlossaryPreload.h"

// The program's own glossary: the one preloaded at start when there is one, else read now.

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
