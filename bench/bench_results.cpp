// SPDX-License-Identifier: GPL-3.0-or-later
// The results file: loading one test's results into the results viewer, and the trim to the 20
// best results of every test, each against reading the file's bytes alone; the results viewer
// opened on up to a million results; the export for a coach of a million results, in a process of
// its own, for its peak memory.
#include "BenchEnv.h"
#include "app/WindowSet.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsTable.h"
#include "dialogs/ResultsViewer.h"
#include "results/ResultsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Reading the bytes of a results file of 100 000 results, and nothing else: what ranking them is
// compared with.
void BM_ReadResultsFile(benchmark::State& state)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        env.writeFile(resultsFileName(), Generated::resultRecords(LoadRecords, 1));
        const QString path = env.filePath(resultsFileName());
        qint64 read = 0;
        for (auto _ : state) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                state.SkipWithError("the results file cannot be read");
            const QByteArray bytes = file.readAll();
            read = bytes.size();
            benchmark::DoNotOptimize(bytes.constData());
        }
        state.counters["records"] = static_cast<double>(read / TResultRecord::RecordSize);
    });
}
BENCHMARK(BM_ReadResultsFile)->Unit(benchmark::kMillisecond);

// The results viewer showing a test with `range(0)` results, as when it opens on the test played
// last: the results read, ranked and shown in its grid, and the dialog painted once.
void BM_ResultsViewerOpens(benchmark::State& state)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        const int count = static_cast<int>(state.range(0));
        const QByteArray records = Generated::resultRecords(count, 1);
        env.writeFile(resultsFileName(), records);
        const TResultRecord current = recordInFile(records, count / 2);
        ResultsViewer* viewer = env.windows().screens().resultsViewer;
        viewer->resize(viewer->size());
        int loaded = 0;
        for (auto _ : state) {
            loaded = LoadTestResults(1, viewer->table(), current);
            const QPixmap shown = viewer->grab();
            benchmark::DoNotOptimize(shown.cacheKey());
        }
        state.counters["records"] = loaded;
        if (loaded != count)
            state.SkipWithError("not every record was loaded");
        // the next benchmark starts from a small file again
        LoadTestResults(1, nullptr, current);
        env.writeFile(resultsFileName(), {});
    });
}
BENCHMARK(BM_ResultsViewerOpens)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The peak memory of the process `pid` so far in MiB (VmHWM); a negative number once it is gone.
double peakMemoryOf(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return -1;
}

// Runs the trainer's executable (a copy in the benchmark's folder) with `arguments`; returns its
// peak memory in MiB, or a negative number when it fails. The peak is read from the process while
// it runs, every millisecond: a process started from this one would report this one's size as its
// own peak at its end.
double peakMemoryOfRun(const QStringList& arguments)
{
    BenchEnv& env = BenchEnv::instance();
    const QString program = env.filePath(QStringLiteral("quill"));
    if (!QFile::exists(program))
        QFile::copy(QStringLiteral(QUILL_RUN_DIR "/quill"), program);
    QList<QByteArray> words{QFile::encodeName(program)};
    for (const QString& a : arguments)
        words.append(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    // what the program says goes nowhere
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0)
        return -1;
    double peak = 0;
    int status = 0;
    for (;;) {
        // (posix_spawn returns once the program runs: its memory is its own from the first sample)
        const double now = peakMemoryOf(child);
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0)
            return -1;
        peak = std::max(peak, now);
        usleep(1000);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return peak;
}

// `quill --export-results` of a results file with a million results, against the same program
// printing its help: the peak memory of each run (counters, MiB), and the export's time.
void BM_ExportResultsProcess(benchmark::State& state)
{
    guarded(state, [&] {
        BenchEnv& env = BenchEnv::instance();
        env.writeFile(resultsFileName(), Generated::resultRecords(static_cast<int>(state.range(0)), 100));
        const QString target = env.filePath(QStringLiteral("export.csv"));
        double peak = 0;
        for (auto _ : state)
            peak = peakMemoryOfRun({QStringLiteral("--export-results"), target});
        const double help = peakMemoryOfRun({QStringLiteral("--help")});
        if (peak < 0 || help < 0)
            state.SkipWithError("the export failed");
        state.counters["peak_MiB"] = peak;
        state.counters["help_peak_MiB"] = help;
        env.writeFile(resultsFileName(), {});
    });
}
BENCHMARK(BM_ExportResultsProcess)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
