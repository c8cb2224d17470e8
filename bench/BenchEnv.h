// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AppError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

class QPoint;
class TForm1;
class TMyDrawGrid;
class WindowSet;

// What every benchmark runs in: a temporary working directory holding a copy of the ready program
// folder, a settings store of its own, the language chosen as the trainer chooses it and, on
// demand, the trainer's window set with its main window shown. Message boxes are collected instead
// of shown, so that nothing waits for a click.
class BenchEnv
{
public:
    static BenchEnv& instance();
    // Closes the windows and removes the working directory (before the application object goes).
    static void shutDown();

    ~BenchEnv();
    BenchEnv(const BenchEnv&) = delete;
    BenchEnv& operator=(const BenchEnv&) = delete;

    QString filePath(const QString& name) const;
    bool hasFile(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& bytes) const;

    // The window set, built on first use as the trainer builds it, with the main window exposed.
    WindowSet& windows();
    TForm1* form();
    TMyDrawGrid* grid();

    // Opens the test selection of `mode` (a timed test or a practice), picks test `index` and
    // confirms it, as a user does through the dialog; the dialog's list stays filled afterwards.
    void startTest(quint8 mode, int index);
    // Confirms test `index` of the list that the last startTest filled: layout, board loading and
    // StartRound, exactly what the dialog's OK runs.
    void acceptTest(int index);
    // The index of the first test of the current catalogue with `values` values, else of the test
    // with the most values below that; -1 for an empty catalogue.
    static int testWithValues(int values);

    QPoint cellCentre(int index);
    // An uncleared cell showing `text`; -1 when there is none.
    int cellWithText(const QString& text);

    // Messages that would have been shown since the last call.
    QStringList takeMessages();

private:
    BenchEnv();

    QTemporaryDir m_store;
    QTemporaryDir m_dir;
    QString m_previousDir;
    std::unique_ptr<WindowSet> m_windows;
    QStringList m_messages;
};

// Runs a benchmark's body; a failure of the system ends that benchmark with its message instead of
// ending the program.
template <typename Body> void guarded(benchmark::State& state, Body body)
{
    try {
        body();
    } catch (const AppError& error) {
        state.SkipWithError(qPrintable(error.text()));
    }
}

// Content generated for the large cases; every generator is deterministic.
namespace Generated {
// A numbered text file of `lines` lines "<n> <text>" with n = 1 .. lines, CR LF line ends.
QByteArray numberedText(int lines, int textLength);
// A catalogue of `tests` tests, each with `values` values, every fifth of them a group of three;
// like the shipped catalogues, the last item line has no line end.
QByteArray catalogue(int tests, int values);
// A checksum-stamped content file: a first line with a number, then `bodySize` bytes.
QByteArray stampedFile(qsizetype bodySize);
// `count` 72-byte result records spread over `tests` tests numbered 1 ..; records of one test are
// interleaved with those of the others.
QByteArray resultRecords(int count, int tests);
} // namespace Generated
