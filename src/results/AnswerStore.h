// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class AppError;

// What the store knows of one symbol: its answers as a target, its recent ones (newest in bit 0)
// and its Leitner box.
struct SymbolStats
{
    // How well the learner knows the symbol lately.
    enum Mastery { NeverSeen, Weak, Learning, Known };

    SymbolKind kind = SymbolKind::Description;
    qint32 value = 0;
    qint32 attempts = 0;
    qint32 correct = 0;
    qint64 totalMs = 0;
    quint32 recent = 0;
    qint32 recentCount = 0;
    qint32 box = 1;
    qint64 lastUtcMs = 0;

    double meanMs() const { return attempts > 0 ? double(totalMs) / attempts : 0; }
    double recentAccuracy() const;
    // Weak below 60 % right of the recent answers; known from 90 % with three answers at least.
    Mastery mastery() const;
    // The day the symbol is due again: its box n waits 2^(n-1) days after the last answer's day.
    QDate dueDate() const;
};

// A press on one symbol when another was asked for, and how often.
struct Confusion
{
    qint32 target = 0;
    qint32 pressed = 0;
    qint32 count = 0;
};

// One finished or abandoned round of a timed test.
struct RoundStats
{
    double started = 0; // date-time value (local days)
    quint8 mode = 0;
    qint32 testNumber = 0;
    qint32 presses = 0;
    qint32 errors = 0;
    qint32 elapsedMs = 0;
    bool finished = false;

    double accuracy() const { return presses > 0 ? double(presses - errors) / presses : 0; }
};

// The finished rounds of one local day.
struct DayStats
{
    qint64 day = 0; // days since 1899-12-30, local time
    qint32 rounds = 0;
    double meanAccuracy = 0; // the mean of the rounds' accuracies
    double meanElapsedMs = 0;
};

// The learner's answers: every judged press of a timed round, kept in the SQLite file
// "Statistics.sqlite" beside the results file. A round's presses are held in memory and written in
// one transaction when the round ends, so a killed program loses at most the running round. The
// file is in write-ahead-log mode and carries its schema version; older schemas are migrated when
// the file is opened. Every failure throws AppError naming the file; the results file is never
// touched here.
class AnswerStore
{
public:
    static constexpr int SchemaVersion = 2;
    // Recent accuracy looks at this many of a symbol's last answers.
    static constexpr int RecentWindow = 10;
    // A right answer moves a symbol up one box, to this box at most.
    static constexpr int TopBox = 10;
    // The "pressed" symbol of a wrong answer that chose nothing (a question left unanswered): it
    // counts against the target but names no confusion.
    static constexpr qint32 NoPress = -1;

    // The store in `folder`; nothing is opened yet.
    explicit AnswerStore(const QString& folder);
    ~AnswerStore();
    AnswerStore(const AnswerStore&) = delete;
    AnswerStore& operator=(const AnswerStore&) = delete;

    static QString fileName();
    // The folder that holds the results file, where the statistics live beside it.
    static QString defaultFolder();
    QString filePath() const { return m_path; }

    // Opens (creating or migrating) the file; throws AppError naming it.
    void open();
    bool isOpen() const;
    // After a failure: the store stays closed for the rest of the run, and the first failure is
    // reported (the game goes on without statistics).
    void disable(const AppError& error);
    // Where that failure is reported; the application shows it. Without a reporter nothing is said.
    using FailureReporter = std::function<void(const AppError&)>;
    void setFailureReporter(FailureReporter reporter) { m_reportFailure = std::move(reporter); }
    bool disabled() const { return m_disabled; }
    // Opens the store unless it is open or disabled; on failure reports it and disables it. True when the
    // store can be used.
    bool ensureOpen();
    // ensureOpen() for a store whose file exists (or that is open already): a view shows nothing
    // and makes no file where no round was recorded yet.
    bool openIfPresent();

    // The round being played: its presses stay in memory until endRound.
    void beginRound(quint8 mode, SymbolKind kind, qint32 testNumber, double now);
    // A press `ms` milliseconds after its target was shown (kept up to the largest 32-bit value).
    void record(qint32 target, qint32 pressed, bool right, qint64 ms, double now);
    bool roundOpen() const { return m_round != nullptr; }
    qsizetype pendingAnswers() const;
    // Writes the round and its presses in one transaction; a round without presses is dropped.
    void endRound(bool finished, qint32 elapsedMs, double now);
    // endRound for a recorder of rounds: a store that fails is disabled, with its one message.
    void finishRound(bool finished, qint64 elapsedMs, double now);

    // Summaries for the progress view, the drill and the export.
    QList<SymbolStats> symbols(std::optional<SymbolKind> kind = {}) const;
    // The most frequent confusions of a kind, most frequent first.
    QList<Confusion> confusions(SymbolKind kind, int limit) const;
    QList<RoundStats> rounds(SymbolKind kind) const;
    // The finished rounds of a kind, one entry per day, oldest first.
    QList<DayStats> days(SymbolKind kind) const;
    qint64 answerCount() const;

private:
    struct Round;
    class Database;

    QString m_path;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<Round> m_round;
    bool m_disabled = false;
    FailureReporter m_reportFailure;
};
