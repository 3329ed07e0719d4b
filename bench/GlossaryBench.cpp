// Glossary load, keyword search, full listing and the one-shot lookup, each beside the floor it
// is measured against, for 10,000, 100,000 and 1,000,000 terms. Generated files live in a
// temporary folder of this run, removed at its end.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench/GlossaryGenerator.h"
#include "controls/ReportRowModel.h"
#include "core/Glossary.h"
#include "core/GlossaryScan.h"
#include "core/fileio/FileIo.h"
#include "core/fileio/FileView.h"
#include "util/GbkText.h"

namespace {

// The run's own folder for the generated files.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "termix-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("termix-bench: mkdtemp");
            std::exit(2);
        }
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

struct Fixture {
    std::filesystem::path path;
    std::unique_ptr<CGlossary> glossary;
    // The same terms and meanings, each kind in one contiguous block, in the glossary's order:
    // what the floors work on.
    std::string termBlock;
    std::string foldedBlock;
    std::string meaningBlock;
    std::vector<std::string_view> terms;
    std::vector<std::string_view> folded;
    std::vector<std::string_view> meanings;
};

// Views of consecutive pieces of `block`, one per length.
std::vector<std::string_view> Views(const std::string& block, const std::vector<size_t>& lengths) {
    std::vector<std::string_view> views;
    views.reserve(lengths.size());
    size_t at = 0;
    for (const size_t length : lengths) {
        views.emplace_back(block.data() + at, length);
        at += length;
    }
    return views;
}

// One generated glossary file per size, built once per run.
Fixture& FixtureFor(size_t count) {
    static ScratchFolder folder;
    static std::map<size_t, Fixture> fixtures;
    Fixture& f = fixtures[count];
    if (f.glossary) {
        return f;
    }
    f.path = folder.path() / ("glossary-" + std::to_string(count) + ".termix");
    {
        CGlossary writer(f.path);
        for (const CTermRecord& record : GenerateGlossary(count)) {
            writer.Add(record);
        }
        writer.Save();
    }
    f.glossary = std::make_unique<CGlossary>(f.path);
    // The rows in the loaded glossary's own order.
    CReportRowModel list;
    list.AddColumnsFromSpec(TermColumns(), TermColumnCount());
    f.glossary->ListAll(list);
    std::vector<size_t> termLengths;
    std::vector<size_t> meaningLengths;
    for (int i = 0; i < list.GetRowCount(); ++i) {
        f.termBlock += list.CellText(i, 0);
        gbk::AppendLower(f.foldedBlock, list.CellText(i, 0));
        f.meaningBlock += list.CellText(i, 1);
        termLengths.push_back(list.CellText(i, 0).size());
        meaningLengths.push_back(list.CellText(i, 1).size());
    }
    f.terms = Views(f.termBlock, termLengths);
    f.folded = Views(f.foldedBlock, termLengths);
    f.meanings = Views(f.meaningBlock, meaningLengths);
    return f;
}

Fixture& FixtureOf(const benchmark::State& state) {
    return FixtureFor(static_cast<size_t>(state.range(0)));
}

// Hands the memory freed by the last iteration back to the system, so that the next one gets
// fresh pages and pays for them as a new process does.
void ReleaseFreedMemory(benchmark::State& state) {
    state.PauseTiming();
    ::malloc_trim(0);
    state.ResumeTiming();
}

// A saved file is loaded without its index, which the first lookup builds: with `lookUp` the
// load is followed by one exact lookup, so that the index is paid for too. A large file is read
// from its mapping and copied a moment later on another thread: with `ownText` the load waits
// for that copy, so that it is paid for too.
void Load(benchmark::State& state, bool fresh, bool lookUp = false, bool ownText = false) {
    Fixture& f = FixtureOf(state);
    const std::string term(f.terms[f.terms.size() / 2]);
    for (auto _ : state) {
        {
            CGlossary glossary(f.path);
            benchmark::DoNotOptimize(glossary.GetCount());
            if (lookUp) {
                benchmark::DoNotOptimize(glossary.Exists(term));
            }
            if (ownText) {
                glossary.OwnText();
            }
        }
        if (fresh) {
            ReleaseFreedMemory(state);
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(f.path)));
}

// Floor of a load: the bytes got the way the load gets them, then one memchr pass that finds
// every record end; no loader can do less than get the bytes and look at each once. A file the
// load reads from its mapping (the large ones) is mapped, and with `ownText` also copied into a
// fresh buffer readied the way the load's copy readies it; any other file is read whole.
void LoadFloor(benchmark::State& state, bool fresh, bool ownText = false) {
    Fixture& f = FixtureOf(state);
    const bool mapped = CGlossary::LoadsFromMapping(f.path);
    for (auto _ : state) {
        {
            FileView view;
            std::string content;
            if (mapped) {
                view.Open(f.path);
            } else {
                fileio::ReadWholeFile(f.path, content);
            }
            const std::string_view bytes = mapped ? view.Bytes() : std::string_view(content);
            size_t records = 0;
            const char* p = bytes.data();
            const char* end = p + bytes.size();
            while ((p = static_cast<const char*>(
                        std::memchr(p, '\n', static_cast<size_t>(end - p)))) != nullptr) {
                ++records;
                ++p;
            }
            benchmark::DoNotOptimize(records);
            if (mapped && ownText) {
                content.reserve(bytes.size());
                fileio::PrepareFreshBuffer(content.data(), content.capacity());
                content.append(bytes);
                benchmark::DoNotOptimize(content.data());
            }
        }
        if (fresh) {
            ReleaseFreedMemory(state);
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(f.path)));
    state.counters["mapped"] = mapped ? 1 : 0;
}

void BM_Load(benchmark::State& state) {
    Load(state, false);
}
void BM_LoadFresh(benchmark::State& state) {
    Load(state, true);
}
void BM_LoadThenLookUp(benchmark::State& state) {
    Load(state, false, true);
}
void BM_LoadAndCopyFresh(benchmark::State& state) {
    Load(state, true, false, true);
}
void BM_FloorLoad(benchmark::State& state) {
    LoadFloor(state, false);
}
void BM_FloorLoadFresh(benchmark::State& state) {
    LoadFloor(state, true);
}
void BM_FloorLoadAndCopyFresh(benchmark::State& state) {
    LoadFloor(state, true, true);
}

CReportRowModel TermList() {
    CReportRowModel list;
    list.AddColumnsFromSpec(TermColumns(), TermColumnCount());
    return list;
}

void BM_ListByKeyword(benchmark::State& state) {
    Fixture& f = FixtureOf(state);
    CReportRowModel list = TermList();
    long rows = 0;
    for (auto _ : state) {
        rows = f.glossary->ListByKeyword(list, OnePercentKeyword());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

// Floor of the keyword search: the same multibyte-aware substring search over terms folded in
// advance, all in one contiguous block; no list, no rows, no sort.
void BM_FloorKeywordScan(benchmark::State& state) {
    Fixture& f = FixtureOf(state);
    const std::string keyword = OnePercentKeyword();
    for (auto _ : state) {
        size_t hits = 0;
        for (const std::string_view term : f.folded) {
            hits += gbk::Find(term, keyword) != std::string_view::npos;
        }
        benchmark::DoNotOptimize(hits);
    }
}

void BM_ListAll(benchmark::State& state) {
    Fixture& f = FixtureOf(state);
    CReportRowModel list = TermList();
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.glossary->ListAll(list));
    }
}

// Floor of the full listing: every row (term and meaning) copied into one contiguous block,
// views of the rows sorted by term. A list needs each row's text once, in term order.
void BM_FloorCopySort(benchmark::State& state) {
    Fixture& f = FixtureOf(state);
    struct Row {
        std::string_view term;
        std::string_view meaning;
    };
    for (auto _ : state) {
        std::string block;
        block.reserve(f.termBlock.size() + f.meaningBlock.size());
        std::vector<Row> rows;
        rows.reserve(f.terms.size());
        for (size_t i = 0; i < f.terms.size(); ++i) {
            const size_t at = block.size();
            block.append(f.terms[i]).append(f.meanings[i]);
            rows.push_back(
                Row{std::string_view(block.data() + at, f.terms[i].size()),
                    std::string_view(block.data() + at + f.terms[i].size(), f.meanings[i].size())});
        }
        std::sort(rows.begin(), rows.end(),
                  [](const Row& a, const Row& b) { return a.term < b.term; });
        benchmark::DoNotOptimize(rows.data());
    }
}

// The one-shot exact lookup of termix-cli, without the process around it: read from the start
// (range 1 = 0) or in parts by two threads (range 1 = 1). Real time, as the second thread's
// work is not the caller's CPU time.
void BM_ScanShow(benchmark::State& state) {
    Fixture& f = FixtureOf(state);
    const GlossaryScan::Condition condition =
        GlossaryScan::Exactly(std::string(f.terms[f.terms.size() / 2]));
    for (auto _ : state) {
        GlossaryScan scan(state.range(1) != 0 ? 0 : std::numeric_limits<size_t>::max());
        benchmark::DoNotOptimize(scan.Run(f.path, condition));
    }
}

// The one-shot exact lookup (range 1 = 0) and keyword search (range 1 = 1) answered from the
// cache a first scan of the unchanged file left behind: only the records returned are read.
void BM_CachedQuery(benchmark::State& state) {
    Fixture& f = FixtureOf(state);
    const GlossaryScan::Condition condition =
        state.range(1) == 0 ? GlossaryScan::Exactly(std::string(f.terms[f.terms.size() / 2]))
                            : GlossaryScan::Containing(OnePercentKeyword());
    const std::filesystem::path cache = f.path.parent_path() / "cache";
    GlossaryScan scan;
    scan.UseCache(cache, std::chrono::nanoseconds(0));
    scan.Run(f.path, condition);  // makes the cache
    for (auto _ : state) {
        benchmark::DoNotOptimize(scan.Run(f.path, condition));
    }
    if (!scan.AnsweredFromCache()) {
        state.SkipWithError("the cache was not used");
    }
    state.counters["rows"] = static_cast<double>(scan.Entries().size());
}

// Floor of the one-shot lookup: the file mapped as the scan maps it, and one memchr pass for the
// NUL byte that would end its content. A scan must look at every byte once.
void BM_FloorMapScan(benchmark::State& state) {
    Fixture& f = FixtureOf(state);
    for (auto _ : state) {
        FileView view;
        view.Open(f.path);
        benchmark::DoNotOptimize(std::memchr(view.Bytes().data(), '\0', view.Bytes().size()));
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Load)->Apply(Sizes);
BENCHMARK(BM_FloorLoad)->Apply(Sizes);
BENCHMARK(BM_LoadFresh)->Apply(Sizes);
BENCHMARK(BM_FloorLoadFresh)->Apply(Sizes);
BENCHMARK(BM_LoadThenLookUp)->Apply(Sizes);
BENCHMARK(BM_LoadAndCopyFresh)->Apply(Sizes)->UseRealTime();
BENCHMARK(BM_FloorLoadAndCopyFresh)->Apply(Sizes)->UseRealTime();
BENCHMARK(BM_ListByKeyword)->Apply(Sizes);
BENCHMARK(BM_FloorKeywordScan)->Apply(Sizes);
BENCHMARK(BM_ListAll)->Apply(Sizes);
BENCHMARK(BM_FloorCopySort)->Apply(Sizes);
BENCHMARK(BM_ScanShow)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_FloorMapScan)->Apply(Sizes);
BENCHMARK(BM_CachedQuery)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
