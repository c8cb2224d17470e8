// SPDX-License-Identifier: GPL-3.0-or-later
// The symbol board in the trainer's own main window: starting a test (the board loaded and StartRound
// through the selection dialog's OK), a full repaint of the board, and a right press up to the
// next target with the changed cells repainted.
#include "BenchEnv.h"
#include "app/TForm1.h"
#include "content/PictureLibrary.h"
#include "dialogs/TStartDlg.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/TMyDrawGrid.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

// The size of a test the benchmarks start.
constexpr int TestValues = 15;

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Starts the 15-value test of `mode` through the selection dialog and returns its index in the
// catalogue; -1 (with the benchmark skipped) when the catalogue is missing or the start failed.
int startFifteenValueTest(benchmark::State& state, quint8 mode)
{
    BenchEnv& env = BenchEnv::instance();
    const QString catalogue = TStartDlg::catalogueFor(mode);
    if (!env.hasFile(catalogue)) {
        state.SkipWithError(qPrintable(catalogue + QStringLiteral(" is not in the program folder")));
        return -1;
    }
    env.startTest(mode, 0);
    const int index = BenchEnv::testWithValues(TestValues);
    if (index < 0) {
        state.SkipWithError("the catalogue has no test");
        return -1;
    }
    env.startTest(mode, index);
    QApplication::processEvents();
    const QStringList messages = env.takeMessages();
    if (!messages.isEmpty()) {
        state.SkipWithError(qPrintable(messages.join(QLatin1Char('\n'))));
        return -1;
    }
    return index;
}

int loadedCells(TMyDrawGrid* grid)
{
    return grid->CellCount() - grid->ClearedCount();
}

void checkMessages(benchmark::State& state)
{
    const QStringList messages = BenchEnv::instance().takeMessages();
    if (!messages.isEmpty())
        state.SkipWithError(qPrintable(messages.join(QLatin1Char('\n'))));
}

// The dialog's OK on a 15-value test: grid layout, board loading, StartRound. Warm: the library's
// pictures were decoded by an earlier start; cold: the picture library is opened afresh.
void BM_LoadBoardStartRound(benchmark::State& state, quint8 mode, bool cold)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        const int index = startFifteenValueTest(state, mode);
        if (index < 0)
            return;
        for (auto _ : state) {
            if (cold) {
                state.PauseTiming();
                PictureLibrary::closeAll();
                state.ResumeTiming();
            }
            env.acceptTest(index);
        }
        state.counters["cells"] = loadedCells(env.grid());
        checkMessages(state);
    });
}
BENCHMARK_CAPTURE(BM_LoadBoardStartRound, Description, Mode::DescriptionTest, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadBoardStartRound, MapSymbol, Mode::MapSymbolTest, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadBoardStartRound, Combination, Mode::CombinationTest, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadBoardStartRound, DescriptionCold, Mode::DescriptionTest, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadBoardStartRound, MapSymbolCold, Mode::MapSymbolTest, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadBoardStartRound, CombinationCold, Mode::CombinationTest, true)
    ->Unit(benchmark::kMillisecond);

// A full repaint of the shown board of a running 15-value test, as the window system asks for it.
void BM_BoardRepaint(benchmark::State& state, quint8 mode)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        if (startFifteenValueTest(state, mode) < 0)
            return;
        TMyDrawGrid* grid = env.grid();
        PaintCounter counter;
        grid->installEventFilter(&counter);
        for (auto _ : state)
            grid->repaint();
        grid->removeEventFilter(&counter);
        state.counters["cells"] = loadedCells(grid);
        state.counters["paints"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
        checkMessages(state);
    });
}
BENCHMARK_CAPTURE(BM_BoardRepaint, Description, Mode::DescriptionTest)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BoardRepaint, MapSymbol, Mode::MapSymbolTest)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BoardRepaint, Combination, Mode::CombinationTest)->Unit(benchmark::kMicrosecond);

// The board's cells painted into an image of the grid's size (no window system involved).
void BM_BoardRender(benchmark::State& state, quint8 mode)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        if (startFifteenValueTest(state, mode) < 0)
            return;
        TMyDrawGrid* grid = env.grid();
        QImage image(grid->size(), QImage::Format_ARGB32_Premultiplied);
        for (auto _ : state)
            grid->render(&image);
        state.counters["cells"] = loadedCells(grid);
        checkMessages(state);
    });
}
BENCHMARK_CAPTURE(BM_BoardRender, Description, Mode::DescriptionTest)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BoardRender, MapSymbol, Mode::MapSymbolTest)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BoardRender, Combination, Mode::CombinationTest)->Unit(benchmark::kMicrosecond);

// A press on a cell with the target's text: the judgement, the cell cleared, the next target, and
// the pending repaints (the cleared cell, the frame, the title, the pictures, the gauge) done.
// A round that would end with the press is started again first, outside the measured time.
void BM_PressToNextTarget(benchmark::State& state, quint8 mode)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        const int index = startFifteenValueTest(state, mode);
        if (index < 0)
            return;
        TMyDrawGrid* grid = env.grid();
        GameRound* round = env.form()->round();
        auto* title = qobject_cast<QLabel*>(env.form()->control(QStringLiteral("Label1")));
        PaintCounter counter;
        grid->installEventFilter(&counter);
        for (auto _ : state) {
            if (round->GameState() != GameRound::Running || loadedCells(grid) <= 1) {
                env.acceptTest(index);
                QApplication::processEvents();
            }
            const int cell = env.cellWithText(title->text());
            if (cell < 0) {
                state.SkipWithError("no cell shows the target");
                break;
            }
            const QPoint at = env.cellCentre(cell);
            const int errors = env.form()->ErrorCount();
            const auto started = std::chrono::steady_clock::now();
            QTest::mouseClick(grid, Qt::LeftButton, {}, at);
            QApplication::processEvents();
            const auto finished = std::chrono::steady_clock::now();
            state.SetIterationTime(std::chrono::duration<double>(finished - started).count());
            if (env.form()->ErrorCount() != errors || !grid->Item(cell)->Cleared()) {
                state.SkipWithError("the press was not judged right");
                break;
            }
        }
        grid->removeEventFilter(&counter);
        state.counters["gridPaints"] = benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
        checkMessages(state);
    });
}
BENCHMARK_CAPTURE(BM_PressToNextTarget, Description, Mode::DescriptionTest)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PressToNextTarget, MapSymbol, Mode::MapSymbolTest)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PressToNextTarget, Combination, Mode::CombinationTest)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
