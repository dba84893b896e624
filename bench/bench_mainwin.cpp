// The main window: start-up to its first paint, a lookup pass over the whole repertoire, how the
// window answers with a long list, and what a long list costs in memory.
#include "synthetic_fonts.h"

#include "gui/common/prompter.h"
#include "gui/mainwin/form1.h"
#include "gui/mainwin/glyph_list_model.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <unistd.h>

using namespace hz::gui;

namespace {

// GB2312 holds 7445 characters; the repertoire of the synthetic libraries starts with them.
constexpr std::size_t kRepertoireCharacters = 7445;

// Answers nothing and shows nothing: the benchmarks look up only characters that are found.
class SilentPrompter : public Prompter {
public:
    int messages = 0;
    void critical(QWidget*, const QString&) override { ++messages; }
    bool question(QWidget*, const QString&) override { return true; }
    std::optional<QString> saveFileName(QWidget*, const QString&, const QStringList&) override { return {}; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return {}; }
};

QString programDir() {
    return QString::fromStdString(hzbench::syntheticFontsFolder());
}

QString repertoire(std::size_t characters) {
    const std::u32string& all = hzbench::repertoireText();
    std::u32string text;
    text.reserve(characters);
    while (text.size() < characters)
        text.append(all, 0, std::min(all.size(), characters - text.size()));
    return QString::fromStdU32String(text);
}

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Notes the first paint of a widget.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

// From nothing to the window on screen: controls, gradients, the sample lookup, the first paint.
void BM_StartUpToFirstPaint(benchmark::State& state) {
    SilentPrompter prompter;
    for (auto _ : state) {
        auto form = std::make_unique<Form1>(programDir(), &prompter);
        PaintWatch watch;
        form->installEventFilter(&watch);
        form->show();
        while (!watch.painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (prompter.messages != 0)
        state.SkipWithError("the sample characters were refused");
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond);

// "查找" with the whole repertoire typed at once, every row appended to the list.
void BM_LookupPassAppendsRows(benchmark::State& state) {
    const auto characters = static_cast<std::size_t>(state.range(0));
    SilentPrompter prompter;
    Form1 form(programDir(), &prompter);
    form.inputBox()->setText(repertoire(characters));
    for (auto _ : state) {
        state.PauseTiming();
        form.glyphList().removeAll();
        state.ResumeTiming();
        form.runLookup();
    }
    if (static_cast<std::size_t>(form.glyphList().count()) != characters || prompter.messages != 0)
        state.SkipWithError("not every character became a row");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * characters));
    state.counters["rows"] = static_cast<double>(characters);
}
BENCHMARK(BM_LookupPassAppendsRows)
    ->ArgName("characters")
    ->Arg(kRepertoireCharacters)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond);

// Rows far apart in the list, each selected, shown and painted as a click on it would.
void clickRowsFarApart(benchmark::State& state, Form1& form) {
    int row = 0;
    for (auto _ : state) {
        form.selectRow(row);
        form.showRecord(row);
        form.repaint();
        row = (row + 7919) % form.glyphList().count();
    }
}

// With a long list: a click on a row far up, shown and painted.
void BM_ShowRowInLongList(benchmark::State& state) {
    SilentPrompter prompter;
    Form1 form(programDir(), &prompter);
    form.inputBox()->setText(repertoire(32767));
    form.runLookup();
    form.show();
    QApplication::processEvents();
    clickRowsFarApart(state, form);
}
BENCHMARK(BM_ShowRowInLongList)->Unit(benchmark::kMillisecond);

// A million characters pasted into the box and not yet looked up, the box focused: a click on a
// row shown and painted, and the box's own repaint, which its cursor asks for twice a second.
void BM_ShowRowWithMillionPasted(benchmark::State& state) {
    SilentPrompter prompter;
    Form1 form(programDir(), &prompter);
    form.inputBox()->setText(repertoire(kRepertoireCharacters));
    form.runLookup();
    form.inputBox()->setText(repertoire(1000000));
    form.show();
    form.inputBox()->setFocus();
    QApplication::processEvents();
    clickRowsFarApart(state, form);
}
BENCHMARK(BM_ShowRowWithMillionPasted)->Unit(benchmark::kMillisecond);

void BM_RepaintBoxWithMillionPasted(benchmark::State& state) {
    SilentPrompter prompter;
    Form1 form(programDir(), &prompter);
    form.inputBox()->setText(repertoire(1000000));
    form.show();
    form.inputBox()->setFocus();
    QApplication::processEvents();
    for (auto _ : state) {
        form.inputBox()->repaint();
    }
}
BENCHMARK(BM_RepaintBoxWithMillionPasted)->Unit(benchmark::kMillisecond);

// The same box left alone for two seconds, its cursor blinking: the processor time the window takes.
void BM_IdleWithMillionPasted(benchmark::State& state) {
    SilentPrompter prompter;
    Form1 form(programDir(), &prompter);
    form.inputBox()->setText(repertoire(1000000));
    form.show();
    form.activateWindow();
    form.inputBox()->setFocus();
    QApplication::processEvents();
    for (auto _ : state) {
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        QEventLoop idle;
        QTimer::singleShot(2000, &idle, &QEventLoop::quit);
        idle.exec();
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        state.counters["cpu_percent"] =
            100.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / wall.count();
    }
}
BENCHMARK(BM_IdleWithMillionPasted)->Iterations(1)->Unit(benchmark::kMillisecond);

// Memory of the window holding a number of records (range(0)), beyond what the program held before
// the window, and the time of the pass that made them: a pasted text of a million characters among
// them.
void BM_WindowMemoryWithRecords(benchmark::State& state) {
    const auto characters = static_cast<std::size_t>(state.range(0));
    SilentPrompter prompter;
    for (auto _ : state) {
        const double before = residentMegabytes();
        Form1 form(programDir(), &prompter);
        form.inputBox()->setText(repertoire(characters));
        const auto start = std::chrono::steady_clock::now();
        form.runLookup();
        const std::chrono::duration<double> pass = std::chrono::steady_clock::now() - start;
        form.inputBox()->clear();
        form.show();
        QApplication::processEvents();
        state.counters["pass_s"] = pass.count();
        state.counters["window_MB"] = residentMegabytes() - before;
        state.counters["process_MB"] = residentMegabytes();
        state.counters["rows"] = form.glyphList().count();
    }
}
BENCHMARK(BM_WindowMemoryWithRecords)
    ->ArgName("characters")
    ->Arg(32767)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
