// termix-gen-glossary N OUT: writes a synthetic glossary of N terms to OUT (a glossary file).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/GlossaryGenerator.h"
#include "core/Glossary.h"
#include "core/PairFile.h"
#include "util/GbkText.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: termix-gen-glossary COUNT OUTPUT\n");
        return 2;
    }
    const long count = std::strtol(argv[1], nullptr, 10);
    if (count <= 0) {
        std::fprintf(stderr, "termix-gen-glossary: COUNT must be a positive number\n");
        return 2;
    }
    try {
        CGlossary glossary{std::filesystem::path(argv[2])};
        glossary.RemoveAll();
        for (const CTermRecord& record : GenerateGlossary(static_cast<size_t>(count))) {
            glossary.Add(record);
        }
        glossary.Save();
    } catch (const Qm_conf_solitude_Exception& e) {
        std::fprintf(stderr, "%s\n", gbk::ToUtf8(e.m_message).c_str());
        return 2;
    }
    return 0;
}
