// The main window with 100,000 terms (TERMIX_BENCH_TERMS to change), offscreen: from the Enter
// key in the empty input to the result list having painted all terms, the same for a keyword in
// 1 % of the terms, and one page-down at the end of the list of all terms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "bench/GlossaryGenerator.h"
#include "controls/SortListCtrl.h"
#include "core/Glossary.h"
#include "platform/GlobalHotkey.h"
#include "resources/MainDialogIds.h"
#include "ui/main/TermixDlg.h"
#include "util/ExeDir.h"

namespace {

// Registers nothing: the benchmark must not take a key of the desktop.
class NoHotkey : public platform::IGlobalHotkey {
public:
    platform::HotkeyRegistration Register(int, unsigned, unsigned) override {
        return platform::HotkeyRegistration::kRegistered;
    }
};

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

CTermixDlg* g_dialog = nullptr;

// Lets the event loop run until `counter` saw a paint after `before` paints.
void WaitForPaint(const PaintCounter& counter, int before) {
    while (counter.paints == before) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// Enter in the input holding `text`, until the result list has painted.
void EnterToPainted(benchmark::State& state, const QString& text) {
    auto* input = g_dialog->Control<QLineEdit>(main_ids::kInput);
    auto* list = g_dialog->Control<CSortListCtrl>(main_ids::kResultList);
    const PaintCounter counter(list->viewport());
    for (auto _ : state) {
        state.PauseTiming();
        input->setText(text);
        input->setFocus();
        QApplication::processEvents();
        const int before = counter.paints;
        state.ResumeTiming();
        QTest::keyClick(input, Qt::Key_Return);
        WaitForPaint(counter, before);
    }
    state.counters["rows"] = list->Rows().GetRowCount();
}

void BM_EnterToPaintedAllTerms(benchmark::State& state) {
    EnterToPainted(state, QString());
}

void BM_EnterToPaintedKeyword(benchmark::State& state) {
    EnterToPainted(state, QString::fromLatin1(OnePercentKeyword()));
}

void BM_PageDownAtTheEnd(benchmark::State& state) {
    auto* list = g_dialog->Control<CSortListCtrl>(main_ids::kResultList);
    const PaintCounter counter(list->viewport());
    const int rows = list->model()->rowCount();
    for (auto _ : state) {
        state.PauseTiming();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(rows - 60, 0));
        list->scrollTo(list->currentIndex());
        QApplication::processEvents();
        const int before = counter.paints;
        state.ResumeTiming();
        QTest::keyClick(list, Qt::Key_PageDown);
        WaitForPaint(counter, before);
    }
}

BENCHMARK(BM_EnterToPaintedAllTerms)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EnterToPaintedKeyword)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageDownAtTheEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    benchmark::Initialize(&argc, argv);
    QApplication application(argc, argv);
    // A folder of this run holds the program's data files: the generated glossary only.
    std::string folder = (std::filesystem::temp_directory_path() / "termix-bench-XXXXXX");
    if (::mkdtemp(folder.data()) == nullptr) {
        return 2;
    }
    SetExeDirForTesting(folder + "/");
    {
        CGlossary glossary(CGlossary::DefaultPath());
        const char* terms = std::getenv("TERMIX_BENCH_TERMS");
        for (const CTermRecord& record :
             GenerateGlossary(terms != nullptr ? std::strtoul(terms, nullptr, 10) : 100000)) {
            glossary.Add(record);
        }
        glossary.Save();
    }
    {
        NoHotkey hotkey;
        CTermixDlg dialog(hotkey);
        g_dialog = &dialog;
        QTimer::singleShot(0, &dialog, [&dialog] {
            benchmark::RunSpecifiedBenchmarks();
            dialog.ExitProgram();
        });
        dialog.DoModal();
    }
    ReleaseGlossary();
    std::filesystem::remove_all(folder);
    benchmark::Shutdown();
    return 0;
}
