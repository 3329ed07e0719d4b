// Glossary load, keyword search and full listing, each beside a bare baseline over the same
// data, for 10,000 and 100,000 terms.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/GlossaryGenerator.h"
#include "controls/ReportRowModel.h"
#include "core/Glossary.h"
#include "util/GbkText.h"

namespace {

struct Fixture {
    std::string path;
    std::vector<std::string> terms;        // as stored
    std::vector<std::string> foldedTerms;  // lower case
    std::unique_ptr<CGlossary> glossary;
};

// One generated glossary file per size, built once per run.
Fixture& FixtureFor(size_t count) {
    static std::map<size_t, Fixture> fixtures;
    Fixture& f = fixtures[count];
    if (f.glossary) {
        return f;
    }
    const auto dir = std::filesystem::temp_directory_path() / "termix-bench";
    std::filesystem::create_directories(dir);
    f.path = (dir / ("glossary-" + std::to_string(count) + ".termix")).string();
    std::filesystem::remove(f.path);
    {
        CGlossary writer(f.path);
        for (const CTermRecord& record : GenerateGlossary(count)) {
            writer.Add(record);
            f.terms.push_back(record.m_cs_term);
            f.foldedTerms.push_back(gbk::ToLower(record.m_cs_term));
        }
        writer.Save();
    }
    f.glossary = std::make_unique<CGlossary>(f.path);
    return f;
}

CReportRowModel TermList() {
    CReportRowModel list;
    list.AddColumnsFromSpec(gbk::FromUtf8("术语|汉意"), 2);
    return list;
}

void BM_Load(benchmark::State& state) {
    Fixture& f = FixtureFor(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        CGlossary glossary(f.path);
        benchmark::DoNotOptimize(glossary.GetCount());
    }
}

// Baseline: read the same file in one piece and find every record terminator with memchr.
void BM_BaselineReadScan(benchmark::State& state) {
    Fixture& f = FixtureFor(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        const int fd = ::open(f.path.c_str(), O_RDONLY);
        std::string content(static_cast<size_t>(::lseek(fd, 0, SEEK_END)), '\0');
        ::pread(fd, content.data(), content.size(), 0);
        ::close(fd);
        size_t lines = 0;
        const char* p = content.data();
        const char* end = p + content.size();
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))) !=
               nullptr) {
            ++lines;
            ++p;
        }
        benchmark::DoNotOptimize(lines);
    }
}

void BM_ListByKeyword(benchmark::State& state) {
    Fixture& f = FixtureFor(static_cast<size_t>(state.range(0)));
    CReportRowModel list = TermList();
    long rows = 0;
    for (auto _ : state) {
        rows = f.glossary->ListByKeyword(list, OnePercentKeyword());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_ListByKeywordEmpty(benchmark::State& state) {
    Fixture& f = FixtureFor(static_cast<size_t>(state.range(0)));
    CReportRowModel list = TermList();
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.glossary->ListByKeyword(list, ""));
    }
}

// Baseline: a substring scan over terms folded in advance.
void BM_BaselineScan(benchmark::State& state) {
    Fixture& f = FixtureFor(static_cast<size_t>(state.range(0)));
    const std::string keyword = OnePercentKeyword();
    for (auto _ : state) {
        size_t hits = 0;
        for (const std::string& term : f.foldedTerms) {
            hits += term.find(keyword) != std::string::npos;
        }
        benchmark::DoNotOptimize(hits);
    }
}

void BM_ListAll(benchmark::State& state) {
    Fixture& f = FixtureFor(static_cast<size_t>(state.range(0)));
    CReportRowModel list = TermList();
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.glossary->ListAll(list));
    }
}

// Baseline: std::sort of a copy of the same term strings (in the map's order).
void BM_BaselineSort(benchmark::State& state) {
    Fixture& f = FixtureFor(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        std::vector<std::string> terms = f.terms;
        std::sort(terms.begin(), terms.end());
        benchmark::DoNotOptimize(terms.data());
    }
}

}  // namespace

BENCHMARK(BM_Load)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineReadScan)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListByKeyword)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListByKeywordEmpty)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineScan)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListAll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineSort)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
