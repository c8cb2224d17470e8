// SPDX-License-Identifier: GPL-3.0-or-later
// The results file: loading one test's results into the results viewer, and the trim to the 20
// best results of every test.
#include "BenchEnv.h"
#include "app/WindowSet.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsTable.h"
#include "dialogs/ResultsViewer.h"
#include "results/ResultsFile.h"

#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

constexpr int LoadRecords = 100000;
constexpr int TrimRecords = 100000;
constexpr int TrimTests = 100;

// The record the viewer highlights: one that is in the file.
TResultRecord recordInFile(const QByteArray& records, int at)
{
    return TResultRecord::decode(QByteArrayView(records).sliced(at * TResultRecord::RecordSize));
}

enum class Table { Viewer, Fresh, None };

// LoadTestResults of a test with 100 000 results. Viewer: the results viewer's own grid, filled
// by the previous load (the usual case); Fresh: a new grid of the viewer's start size each time
// (the first load); None: reading, decoding and ranking alone.
void BM_LoadTestResults(benchmark::State& state, Table kind)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        const QByteArray records = Generated::resultRecords(LoadRecords, 1);
        env.writeFile(resultsFileName(), records);
        const TResultRecord current = recordInFile(records, LoadRecords / 2);
        ResultsGrid* viewer = env.windows().screens().resultsViewer->table();
        int loaded = 0;
        for (auto _ : state) {
            if (kind == Table::Fresh) {
                state.PauseTiming();
                auto table = std::make_unique<ResultsGrid>();
                table->setRowCount(2);
                state.ResumeTiming();
                loaded = LoadTestResults(1, table.get(), current);
                state.PauseTiming();
                table.reset();
                state.ResumeTiming();
            } else {
                loaded = LoadTestResults(1, kind == Table::Viewer ? viewer : nullptr, current);
            }
        }
        state.counters["records"] = loaded;
        if (loaded != LoadRecords)
            state.SkipWithError("not every record was loaded");
    });
}
BENCHMARK_CAPTURE(BM_LoadTestResults, ViewerTable, Table::Viewer)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTestResults, FreshTable, Table::Fresh)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTestResults, NoTable, Table::None)->Unit(benchmark::kMillisecond);

// KeepBestResults on 100 000 results of 100 tests; the file is written anew before each trim,
// outside the measured time.
void BM_KeepBestResults(benchmark::State& state)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        const QByteArray records = Generated::resultRecords(TrimRecords, TrimTests);
        const QString name = resultsFileName();
        for (auto _ : state) {
            env.writeFile(name, records);
            const auto started = std::chrono::steady_clock::now();
            KeepBestResults();
            const auto finished = std::chrono::steady_clock::now();
            state.SetIterationTime(std::chrono::duration<double>(finished - started).count());
        }
        const qint64 kept = QFileInfo(env.filePath(name)).size() / TResultRecord::RecordSize;
        state.counters["kept"] = static_cast<double>(kept);
        if (kept != static_cast<qint64>(TrimTests) * 20)
            state.SkipWithError("the trim did not keep 20 results of each test");
    });
}
BENCHMARK(BM_KeepBestResults)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
