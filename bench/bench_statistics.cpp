// SPDX-License-Identifier: GPL-3.0-or-later
// The learner's statistics: what recording a press adds to the press, the round's one write, the
// progress view opened on 100 000 stored answers, and the weak-symbol drill's board built from them.
#include "BenchEnv.h"
#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "dialogs/ProgressViewer.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/WeakSymbolDrill.h"
#include "platform/Clock.h"
#include "results/AnswerStore.h"
#include "session/Session.h"
#include "widgets/SymbolSheet.h"

#include <QApplication>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int StoredAnswers = 100000;
constexpr int PressesPerRound = 20;
constexpr double Second = 1.0 / 86400.0;
constexpr double HistoryStart = 45000.5;
constexpr int HistoryDays = 200;

// Adds `answers` answers of every kind over 200 days to `store`: rounds of 20 presses, about one in
// five wrong.
void fillHistory(AnswerStore& store, int answers)
{
    const qint32 firstValue[SymbolKindCount] = {33, 1000, 101};
    const quint8 modes[SymbolKindCount] = {Mode::DescriptionTest, Mode::CombinationTest, Mode::MapSymbolTest};
    quint32 seed = 12345;
    const auto next = [&seed](quint32 n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    const int rounds = answers / PressesPerRound;
    for (int r = 0; r < rounds; ++r) {
        const SymbolKind kind = AllSymbolKinds[r % SymbolKindCount];
        const double at = HistoryStart + double(r) * HistoryDays / rounds;
        store.beginRound(modes[toInt(kind)], kind, 101 + r % 30, at);
        for (int p = 0; p < PressesPerRound; ++p) {
            const qint32 target = firstValue[toInt(kind)] + static_cast<qint32>(next(90));
            const bool right = next(5) != 0;
            store.record(target, right ? target : firstValue[toInt(kind)] + static_cast<qint32>(next(90)),
                         right, static_cast<qint32>(600 + next(3000)), at + p * Second);
        }
        store.endRound(true, 40000, at + PressesPerRound * Second);
    }
}

// The trainer's answer store with 100 000 answers, filled once.
AnswerStore& storeWithHistory()
{
    BenchEnv& env = BenchEnv::instance();
    AnswerStore& store = *env.windows().screens().answers;
    store.ensureOpen();
    static bool filled = false;
    if (!filled && store.answerCount() < StoredAnswers)
        fillHistory(store, StoredAnswers);
    filled = true;
    return store;
}

// A store of its own with a million answers, filled once (a minute or so).
AnswerStore& storeWithMillion()
{
    static QTemporaryDir folder;
    static AnswerStore store(folder.path());
    static bool filled = false;
    if (!filled) {
        store.open();
        fillHistory(store, 1000000);
        filled = true;
    }
    return store;
}

// What recording adds to a press: the round's signal, the recorder and the store keeping the press
// in memory until the round ends.
void BM_RecordPress(benchmark::State& state)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        env.startTest(Mode::DescriptionTest, 0);
        GameRound* round = env.form()->round();
        AnswerStore& store = *env.windows().screens().answers;
        qint64 presses = 0;
        for (auto _ : state) {
            if (store.pendingAnswers() >= 64) {
                state.PauseTiming();
                env.acceptTest(0); // a new round: the collected presses are dropped unwritten
                state.ResumeTiming();
            }
            emit round->answered(45, 46, false, 1200);
            ++presses;
        }
        if (!store.roundOpen() || store.pendingAnswers() == 0)
            state.SkipWithError("the presses were not recorded");
        state.counters["presses"] = static_cast<double>(presses);
    });
}
BENCHMARK(BM_RecordPress)->Unit(benchmark::kMicrosecond);

// The progress view on 100 000 answers: reading the store and the names, building the sheet, the
// charts and the confusions, and painting the whole view once, as when it opens.
void BM_ProgressViewOpens(benchmark::State& state, SymbolKind kind)
{
    guarded(state, [&] {
        storeWithHistory();
        BenchEnv& env = BenchEnv::instance();
        ProgressViewer* view = env.windows().screens().progressViewer;
        view->setKind(kind);
        (void)view->grab(); // the pictures of the sheet decoded once, as after the first opening
        for (auto _ : state) {
            view->setKind(kind);
            const QPixmap shown = view->grab();
            benchmark::DoNotOptimize(shown.cacheKey());
        }
        state.counters["tiles"] = view->sheet()->tileCount();
    });
}
BENCHMARK_CAPTURE(BM_ProgressViewOpens, Descriptions, SymbolKind::Description)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ProgressViewOpens, MapSymbols, SymbolKind::MapSymbol)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ProgressViewOpens, Lines, SymbolKind::Line)->Unit(benchmark::kMillisecond);

// The same on a million answers.
void BM_ProgressViewOpensMillion(benchmark::State& state, SymbolKind kind)
{
    guarded(state, [&] {
        Screens& screens = BenchEnv::instance().windows().screens();
        AnswerStore* kept = screens.answers;
        screens.answers = &storeWithMillion();
        const auto restore = qScopeGuard([&] { screens.answers = kept; });
        ProgressViewer* view = screens.progressViewer;
        view->setKind(kind);
        (void)view->grab();
        for (auto _ : state) {
            view->setKind(kind);
            const QPixmap shown = view->grab();
            benchmark::DoNotOptimize(shown.cacheKey());
        }
        state.counters["answers"] = static_cast<double>(screens.answers->answerCount());
    });
}
BENCHMARK_CAPTURE(BM_ProgressViewOpensMillion, Descriptions, SymbolKind::Description)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ProgressViewOpensMillion, MapSymbols, SymbolKind::MapSymbol)
    ->Unit(benchmark::kMillisecond);

// The first opening: the view built from its screen description, then read and painted.
void BM_ProgressViewFirstOpening(benchmark::State& state)
{
    guarded(state, [&] {
        storeWithHistory();
        Session& session = *BenchEnv::instance().windows().screens().session;
        for (auto _ : state) {
            auto view = std::make_unique<ProgressViewer>(session);
            view->setKind(SymbolKind::Description);
            const QPixmap shown = view->grab();
            benchmark::DoNotOptimize(shown.cacheKey());
            state.PauseTiming();
            view.reset();
            state.ResumeTiming();
        }
    });
}
BENCHMARK(BM_ProgressViewFirstOpening)->Unit(benchmark::kMillisecond);

// The drill's board from 100 000 answers.
void BM_DrillBoard(benchmark::State& state)
{
    guarded(state, [&] {
        const AnswerStore& store = storeWithHistory();
        const QDate today = dateOfDays(HistoryStart + HistoryDays + 30);
        int cells = 0;
        for (auto _ : state)
            cells = static_cast<int>(
                WeakSymbolDrill::buildBoard(store, SymbolKind::Description, today).values.size());
        state.counters["cells"] = cells;
        if (cells == 0)
            state.SkipWithError("no board");
    });
}
BENCHMARK(BM_DrillBoard)->Unit(benchmark::kMicrosecond);

// The round's one transaction at its end: 20 presses, their symbols and confusions. It runs last,
// as the rounds it writes add to the history the others read.
void BM_WriteRound(benchmark::State& state)
{
    guarded(state, [&] {
        AnswerStore& store = storeWithHistory();
        double at = HistoryStart + HistoryDays + 1;
        for (auto _ : state) {
            store.beginRound(Mode::DescriptionTest, SymbolKind::Description, 101, at);
            for (int p = 0; p < PressesPerRound; ++p)
                store.record(40 + p, p % 5 == 0 ? 41 + p : 40 + p, p % 5 != 0, 900, at);
            store.endRound(true, 30000, at);
            at += Second * 60;
        }
    });
}
BENCHMARK(BM_WriteRound)->Unit(benchmark::kMillisecond);

} // namespace
