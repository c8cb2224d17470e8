// SPDX-License-Identifier: GPL-3.0-or-later
// Results survive a program that is killed while it writes them. A child process (this test
// program started with --child-append or --child-trim) appends results, or appends and trims, in
// a loop and reports each finished step on its output; it is killed at a random moment, hundreds
// of times. After every kill the results file must be readable, hold every result the child
// reported as written (after a trim: every result among the 20 best of its test), and hold nothing
// that was never written. Two children that save and trim at once, as two copies of the program on
// one folder, lose no result.
#include "common/TempWorkDir.h"
#include "content/Language.h"
#include "platform/AppError.h"
#include "results/ResultsFile.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

namespace {

constexpr char ChildAppend[] = "--child-append";
constexpr char ChildTrim[] = "--child-trim";
// A copy of the program that saves results from its first on, trimming after every fifth when
// asked, once the parent says "go".
constexpr char ChildSave[] = "--child-save";
constexpr int SavesPerCopy = 150;
constexpr char Ready[] = "ready";

constexpr int RecordSize = TResultRecord::RecordSize;
constexpr int Tests = 3;
constexpr int KeptPerTest = 20;
constexpr double MsPerDay = 86400000.0;
constexpr qint64 MsPerHour = 3600000;
// Kills per test function and the time each may take; whichever comes first ends it.
constexpr int MaxKills = 400;
// Fewer kills than this in the time budget (a slow sanitizer build) is a failure of its own.
constexpr int MinKills = 5;
constexpr qint64 TimeBudgetMs = 9000;
constexpr int ChildTimeoutMs = 10000;

// Result i: its player name carries i; test, errors and time follow from i, and no two results rank
// equal (the time within the hour differs for every i below 3 600 000).
qint64 timeInHourOf(int i)
{
    return static_cast<qint64>(i) * 7919 % MsPerHour;
}

TResultRecord resultFor(int i)
{
    TResultRecord r;
    r.PlayerName = QStringLiteral("P%1").arg(i);
    r.TestName = QStringLiteral("Crash test");
    r.TestNumber = 1 + i % Tests;
    r.Time = 45000.0 + static_cast<double>(timeInHourOf(i)) / MsPerDay;
    r.Errors = i % 4;
    return r;
}

// Ranking worked out here: fewer errors first, then less time within the hour.
bool ranksBefore(int a, int b)
{
    const TResultRecord ra = resultFor(a);
    const TResultRecord rb = resultFor(b);
    if (ra.Errors != rb.Errors)
        return ra.Errors < rb.Errors;
    return timeInHourOf(a) < timeInHourOf(b);
}

int testOf(int i)
{
    return 1 + i % Tests;
}

// The results file read byte by byte: the index of each record's result, -1 for a record that is no
// result of these tests.
struct FileState
{
    qint64 size = 0;
    QList<int> results;
};

FileState readState(const QString& path)
{
    QFile file(path);
    FileState state;
    if (!file.open(QIODevice::ReadOnly))
        return state;
    const QByteArray bytes = file.readAll();
    state.size = bytes.size();
    for (qsizetype at = 0; at + RecordSize <= bytes.size(); at += RecordSize) {
        const char* p = bytes.constData() + at;
        const int length = std::min<int>(static_cast<uchar>(p[0]), TResultRecord::MaxNameLength);
        const QByteArray name(p + 1, length);
        bool ok = name.startsWith('P');
        const int i = ok ? name.mid(1).toInt(&ok) : -1;
        const TResultRecord expected = ok ? resultFor(i) : TResultRecord();
        ok = ok && qFromLittleEndian<qint32>(p + TResultRecord::TestNumberOffset) == expected.TestNumber &&
             qFromLittleEndian<qint32>(p + TResultRecord::ErrorsOffset) == expected.Errors;
        state.results << (ok ? i : -1);
    }
    return state;
}

// The numbers the child reported, one per line after "ready".
QList<int> reported(const QByteArray& output)
{
    QList<int> numbers;
    for (const QByteArray& line : output.split('\n')) {
        bool ok = false;
        const int n = line.trimmed().toInt(&ok);
        if (ok)
            numbers << n;
    }
    return numbers;
}

// Every test's results loaded as the viewer loads them; the error text when the file is refused.
QString loadEveryTest()
{
    try {
        for (int test = 1; test <= Tests; ++test)
            LoadRankedResults(test);
    } catch (const AppError& error) {
        return error.text();
    }
    return {};
}

int runChild(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const char* mode = argv[1];
    const int first = QByteArray(argv[3]).toInt();
    QDir::setCurrent(QString::fromLocal8Bit(argv[2]));
    Language::activateBuiltIn();
    std::printf("%s\n", Ready);
    std::fflush(stdout);
    const bool trim = qstrcmp(mode, ChildTrim) == 0;
    try {
        for (int i = first;; ++i) {
            AppendResult(resultFor(i));
            if (trim)
                KeepBestResults();
            // reported only once the step is done
            std::printf("%d\n", i);
            std::fflush(stdout);
        }
    } catch (const AppError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
        return 1;
    }
}

// Saves SavesPerCopy results, each of a test of its own (so that no trim may remove one), once a
// line arrives on the input.
int runSavingCopy(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int first = QByteArray(argv[3]).toInt();
    const bool trim = argc > 4 && qstrcmp(argv[4], "trim") == 0;
    QDir::setCurrent(QString::fromLocal8Bit(argv[2]));
    Language::activateBuiltIn();
    std::printf("%s\n", Ready);
    std::fflush(stdout);
    char line[8];
    if (!std::fgets(line, sizeof line, stdin))
        return 2;
    try {
        for (int i = first; i < first + SavesPerCopy; ++i) {
            TResultRecord result = resultFor(i);
            result.TestNumber = i;
            AppendResult(result);
            if (trim && i % 5 == 0)
                KeepBestResults();
        }
    } catch (const AppError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
        return 1;
    }
    return 0;
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void appendSurvivesKills();
    void trimSurvivesKills();
    void twoCopiesSavingAtOnceLoseNothing();

private:
    // Starts the child on the working directory, waits until it is ready, lets it run for a random
    // time and kills it. Returns what it reported; nothing when it did not run until the kill.
    std::optional<QList<int>> runAndKill(const char* mode, int first, int maxDelayUs);
    QString resultsPath() const { return m_dir->filePath(QLatin1String(ResultsFileBareName)); }

    std::unique_ptr<TempWorkDir> m_dir;
    QRandomGenerator m_random;
};

void TestCrashSafety::initTestCase()
{
    Language::activateBuiltIn();
    const quint32 seed = qEnvironmentVariableIsSet("QUILL_CRASH_SEED")
                             ? qEnvironmentVariableIntValue("QUILL_CRASH_SEED")
                             : QRandomGenerator::global()->generate();
    qInfo("kill times from seed %u (QUILL_CRASH_SEED repeats them)", seed);
    m_random.seed(seed);
}

void TestCrashSafety::init()
{
    m_dir = std::make_unique<TempWorkDir>();
}

void TestCrashSafety::cleanup()
{
    m_dir.reset();
}

std::optional<QList<int>> TestCrashSafety::runAndKill(const char* mode, int first, int maxDelayUs)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(mode), m_dir->path(), QString::number(first)});
    if (!child.waitForStarted(ChildTimeoutMs))
        return std::nullopt;
    QByteArray output;
    while (!output.contains(Ready) && child.waitForReadyRead(ChildTimeoutMs))
        output += child.readAllStandardOutput();
    // The kill comes at a random moment of the child's loop: a waiting loop would not be random.
    QThread::usleep(m_random.bounded(maxDelayUs));
    child.kill();
    child.waitForFinished(ChildTimeoutMs);
    output += child.readAllStandardOutput();
    if (!output.contains(Ready) || child.exitStatus() != QProcess::CrashExit)
        return std::nullopt; // the child never got going, or ended on its own
    return reported(output);
}

void TestCrashSafety::appendSurvivesKills()
{
    int next = 0;
    int kills = 0;
    int tornTails = 0;
    int tornByKill = 0;
    QElapsedTimer clock;
    clock.start();
    while (kills < MaxKills && clock.elapsed() < TimeBudgetMs) {
        // Every fourth time the file starts with a torn last record, as a write cut short leaves it
        // (unless one injected before is still there).
        const bool torn = kills % 4 == 3 && QFileInfo(resultsPath()).size() % RecordSize == 0;
        if (torn) {
            QFile file(resultsPath());
            QVERIFY(file.open(QIODevice::Append));
            file.write(QByteArray(1 + m_random.bounded(RecordSize - 1), '\x7f'));
            ++tornTails;
        }
        const bool tornBefore = QFileInfo(resultsPath()).size() % RecordSize != 0;
        const std::optional<QList<int>> run = runAndKill(ChildAppend, next, 1500);
        QVERIFY2(run, "the child did not run until it was killed");
        const QList<int>& done = *run;
        ++kills;
        const FileState state = readState(resultsPath());
        // Whole records: results 0, 1, 2, ... in order, all reported ones and at most the one being
        // written.
        const int reportedUpTo = done.isEmpty() ? next - 1 : done.constLast();
        QVERIFY2(
            state.results.size() == reportedUpTo + 1 || state.results.size() == reportedUpTo + 2,
            qPrintable(
                QStringLiteral("%1 records, %2 reported").arg(state.results.size()).arg(reportedUpTo + 1)));
        for (int i = 0; i < state.results.size(); ++i)
            QCOMPARE(state.results[i], i);
        next = static_cast<int>(state.results.size());
        if (state.size % RecordSize == 0) {
            QCOMPARE(loadEveryTest(), QString());
            continue;
        }
        // A torn last record: only an injected one may be left (of this or an earlier round), when
        // the child was killed before its first append cut it off. A kill never cuts the record
        // being written short (the system may stop a write between two pages, so a record that would
        // cross a page boundary is written through a new copy of the file).
        const bool leftByKill = !(tornBefore && done.isEmpty());
        if (leftByKill)
            ++tornByKill;
        QVERIFY2(!leftByKill,
                 qPrintable(QStringLiteral("a kill left a torn record (file size %1)").arg(state.size)));
        // its whole records are read all the same
        QCOMPARE(loadEveryTest(), QString());
        QCOMPARE(cutRecordBytes(resultsPath()), state.size % RecordSize);
    }
    qInfo("%d kills (%d on a torn last record), %d results written, %d records torn by a kill", kills,
          tornTails, next, tornByKill);
    QVERIFY(kills >= MinKills);
}

void TestCrashSafety::trimSurvivesKills()
{
    // The file starts with more results than a trim keeps.
    constexpr int Initial = 90;
    {
        QFile file(resultsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < Initial; ++i)
            file.write(resultFor(i).encode());
    }
    int next = Initial;
    int kills = 0;
    QElapsedTimer clock;
    clock.start();
    while (kills < MaxKills && clock.elapsed() < TimeBudgetMs) {
        const std::optional<QList<int>> run = runAndKill(ChildTrim, next, 20000);
        QVERIFY2(run, "the child did not run until it was killed");
        const QList<int>& done = *run;
        ++kills;
        const int reportedUpTo = done.isEmpty() ? next - 1 : done.constLast();

        const FileState state = readState(resultsPath());
        QCOMPARE(state.size % RecordSize, 0);
        QCOMPARE(loadEveryTest(), QString());
        const std::set<int> present(state.results.cbegin(), state.results.cend());
        QCOMPARE(present.size(), static_cast<size_t>(state.results.size())); // no result twice
        // nothing that was never written: at most the result being appended beyond the reported ones
        QVERIFY(!present.empty());
        QCOMPARE(present.count(-1), size_t(0));
        QVERIFY(*present.rbegin() <= reportedUpTo + 1);
        // Every written result that is among the 20 best of its test is still there. Written: the
        // reported ones, and the one being appended when the file holds it (it may have pushed a
        // reported one out of its test's 20 best).
        const int written = present.count(reportedUpTo + 1) ? reportedUpTo + 1 : reportedUpTo;
        std::map<int, std::vector<int>> byTest;
        for (int i = 0; i <= written; ++i)
            byTest[testOf(i)].push_back(i);
        for (auto& [test, results] : byTest) {
            std::sort(results.begin(), results.end(), ranksBefore);
            for (size_t k = 0; k < results.size() && k < static_cast<size_t>(KeptPerTest); ++k)
                QVERIFY2(
                    present.count(results[k]),
                    qPrintable(QStringLiteral("result %1 of test %2 is lost").arg(results[k]).arg(test)));
        }
        next = written + 1;
    }
    // A trim cut short leaves its new file beside the results file; it is never read.
    int sideFiles = 0;
    QDirIterator it(m_dir->path(), QDir::Files);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().startsWith(QLatin1String(ResultsFileBareName) + QLatin1Char('.')))
            ++sideFiles;
    }
    qInfo("%d kills, %d results written, %d unfinished trim files left", kills, next - Initial, sideFiles);
    QVERIFY(kills >= MinKills);
}

// Two copies save at once, one of them trimming as well: every result of both is in the file, once.
void TestCrashSafety::twoCopiesSavingAtOnceLoseNothing()
{
    for (const bool trim : {false, true}) {
        QFile::remove(resultsPath());
        std::array<QProcess, 2> copies;
        for (int c = 0; c < 2; ++c) {
            QStringList arguments{QString::fromLatin1(ChildSave), m_dir->path(), QString::number(c * 1000)};
            if (trim && c == 1)
                arguments << QStringLiteral("trim");
            copies[c].start(QCoreApplication::applicationFilePath(), arguments);
            QVERIFY(copies[c].waitForStarted(ChildTimeoutMs));
            QByteArray output;
            while (!output.contains(Ready) && copies[c].waitForReadyRead(ChildTimeoutMs))
                output += copies[c].readAllStandardOutput();
            QVERIFY(output.contains(Ready));
        }
        for (QProcess& copy : copies) {
            copy.write("go\n");
            QVERIFY(copy.waitForBytesWritten(ChildTimeoutMs));
        }
        for (QProcess& copy : copies) {
            QVERIFY(copy.waitForFinished(60000));
            QVERIFY2(copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0,
                     copy.readAllStandardError().constData());
        }
        // the number in each record's name, read byte by byte
        QFile file(resultsPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size() % RecordSize, 0);
        QList<int> saved;
        for (qsizetype at = 0; at < bytes.size(); at += RecordSize)
            saved << bytes.mid(at + 2, static_cast<uchar>(bytes[at]) - 1).toInt();
        std::sort(saved.begin(), saved.end());
        QList<int> expected;
        for (int c = 0; c < 2; ++c) {
            for (int i = 0; i < SavesPerCopy; ++i)
                expected << c * 1000 + i;
        }
        QCOMPARE(saved, expected);
    }
}

int main(int argc, char** argv)
{
    if (argc >= 4 && qstrcmp(argv[1], ChildSave) == 0)
        return runSavingCopy(argc, argv);
    if (argc >= 4 && (qstrcmp(argv[1], ChildAppend) == 0 || qstrcmp(argv[1], ChildTrim) == 0))
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    TestCrashSafety test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsafety.moc"
