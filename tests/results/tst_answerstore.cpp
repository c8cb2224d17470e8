// SPDX-License-Identifier: GPL-3.0-or-later
// The answer store read back by a connection of its own: what a round leaves in the file, a program
// killed in the middle of rounds, and files the store cannot use (each named in its message, the
// results file beside it untouched). A child process (this program with --child-rounds) writes
// rounds in a loop and reports each one written; it is killed at random moments.
#include "common/TempWorkDir.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "results/AnswerStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr char ChildRounds[] = "--child-rounds";
constexpr double Second = 1.0 / 86400.0;
constexpr int PressesPerRound = 12;
constexpr int MaxKills = 25;
constexpr qint64 TimeBudgetMs = 8000;

// Round r: twelve presses on targets 100 + r % 5 + i, every third press wrong (pressed 999).
void writeRound(AnswerStore& store, int r, double now)
{
    store.beginRound(3, SymbolKind::Description, 101 + r % 3, now);
    for (int i = 0; i < PressesPerRound; ++i) {
        const bool right = i % 3 != 2;
        store.record(100 + r % 5 + i, right ? 100 + r % 5 + i : 999, right, 1000 + i, now + i * Second);
    }
    store.endRound(true, PressesPerRound * 1000, now + PressesPerRound * Second);
}

int runChild(const QString& folder)
{
    AnswerStore store(folder);
    store.open();
    std::printf("ready\n");
    std::fflush(stdout);
    for (int r = 0;; ++r) {
        writeRound(store, r, 45000.5 + r * Second);
        std::printf("%d\n", r);
        std::fflush(stdout);
    }
}

// A connection of the test's own to the store's file.
class Reader
{
public:
    explicit Reader(const QString& path) : m_name(QStringLiteral("reader-%1").arg(++s_count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~Reader()
    {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QList<QVariantList> rows(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        QList<QVariantList> result;
        if (!q.exec(sql))
            return {QVariantList{QVariant(QString(QStringLiteral("error: ") + q.lastError().text()))}};
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i);
            result << row;
        }
        return result;
    }
    QVariant value(const QString& sql) const { return rows(sql).value(0).value(0); }
    bool exec(const QString& sql) const { return QSqlQuery(QSqlDatabase::database(m_name)).exec(sql); }

private:
    static inline int s_count = 0;
    QString m_name;
};

} // namespace

class TestAnswerStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void roundWrittenInOneTransaction();
    void versionOneFileMigratedInPlace();
    void killedProgramKeepsEveryFinishedRound();
    void unusableFileIsNamedAndResultsUntouched_data();
    void unusableFileIsNamedAndResultsUntouched();

private:
    std::unique_ptr<TempWorkDir> m_dir;
    QStringList m_messages;
};

void TestAnswerStore::init()
{
    m_dir = std::make_unique<TempWorkDir>();
    m_messages.clear();
    MessageBoxes::setHandler([this](MessageBoxes::Kind, const QString& text) { m_messages << text; });
}

void TestAnswerStore::cleanup()
{
    m_dir.reset();
}

void TestAnswerStore::roundWrittenInOneTransaction()
{
    AnswerStore store(m_dir->path());
    store.open();
    const double start = 45000.25;
    store.beginRound(7, SymbolKind::MapSymbol, 301, start);
    store.record(101, 101, true, 1500, start + 2 * Second);
    store.record(102, 113, false, 800, start + 3 * Second);
    store.record(102, 102, true, 1200, start + 4 * Second);
    {
        // nothing reaches the file before the round ends
        Reader early(store.filePath());
        QCOMPARE(early.value(QStringLiteral("SELECT count(*) FROM answers")).toInt(), 0);
    }
    store.endRound(true, 4000, start + 5 * Second);

    Reader reader(store.filePath());
    QCOMPARE(reader.value(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    QCOMPARE(reader.value(QStringLiteral("SELECT version FROM schema_version")).toInt(),
             AnswerStore::SchemaVersion);
    const QList<QVariantList> answers = reader.rows(QStringLiteral(
        "SELECT at_utc, mode, test_number, target, pressed, correct, ms FROM answers ORDER BY id"));
    const qint64 t0 = utcMsFromDays(start);
    const QList<QVariantList> expected = {
        {t0 + 2000, 7, 301, 101, 101, 1, 1500},
        {t0 + 3000, 7, 301, 102, 113, 0, 800},
        {t0 + 4000, 7, 301, 102, 102, 1, 1200},
    };
    QCOMPARE(answers.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        for (qsizetype c = 0; c < expected[i].size(); ++c)
            QCOMPARE(answers[i][c].toLongLong(), expected[i][c].toLongLong());
    }
    QCOMPARE(reader.rows(QStringLiteral("SELECT presses, errors, elapsed_ms, finished FROM rounds")),
             (QList<QVariantList>{{3, 1, 4000, 1}}));
    // 101 found at once moves up from box 1; 102, missed before it was found, stays in box 1
    QCOMPARE(reader.rows(QStringLiteral("SELECT value, attempts, correct, box FROM symbols ORDER BY value")),
             (QList<QVariantList>{{101, 1, 1, 2}, {102, 2, 1, 1}}));
    QCOMPARE(reader.rows(QStringLiteral("SELECT target, pressed, count FROM confusions")),
             (QList<QVariantList>{{102, 113, 1}}));
    // the last answer's time in UTC is the clock's local time converted, and the round's start comes
    // back as the clock's local time, in winter and in summer
    QCOMPARE(store.symbols(SymbolKind::MapSymbol).constLast().lastUtcMs, t0 + 4000);
    QCOMPARE(qRound64(store.rounds(SymbolKind::MapSymbol).constFirst().started * 86400000.0),
             qRound64(start * 86400000.0));
    for (const double local : {45000.25, 45123.75, 45470.999})
        QCOMPARE(qRound64(daysFromUtcMs(utcMsFromDays(local)) * 86400000.0), qRound64(local * 86400000.0));
}

void TestAnswerStore::versionOneFileMigratedInPlace()
{
    // a file as the first version of the statistics wrote it, with four rounds and a confusion
    const QString path = QDir(m_dir->path()).filePath(AnswerStore::fileName());
    {
        Reader v1(path);
        for (const char* sql :
             {"CREATE TABLE schema_version (version INTEGER NOT NULL)",
              "INSERT INTO schema_version VALUES (1)",
              "CREATE TABLE rounds (id INTEGER PRIMARY KEY, started_utc INTEGER NOT NULL, "
              "ended_utc INTEGER NOT NULL, mode INTEGER NOT NULL, kind INTEGER NOT NULL, "
              "test_number INTEGER NOT NULL, finished INTEGER NOT NULL, presses INTEGER NOT NULL, "
              "errors INTEGER NOT NULL, elapsed_ms INTEGER NOT NULL)",
              "CREATE TABLE answers (id INTEGER PRIMARY KEY, round_id INTEGER NOT NULL REFERENCES "
              "rounds(id), "
              "at_utc INTEGER NOT NULL, mode INTEGER NOT NULL, kind INTEGER NOT NULL, "
              "test_number INTEGER NOT NULL, target INTEGER NOT NULL, pressed INTEGER NOT NULL, "
              "correct INTEGER NOT NULL, ms INTEGER NOT NULL)",
              "CREATE TABLE symbols (kind INTEGER NOT NULL, value INTEGER NOT NULL, attempts INTEGER NOT "
              "NULL, "
              "correct INTEGER NOT NULL, total_ms INTEGER NOT NULL, recent INTEGER NOT NULL, "
              "recent_count INTEGER NOT NULL, box INTEGER NOT NULL, last_utc INTEGER NOT NULL, "
              "PRIMARY KEY (kind, value))",
              "CREATE TABLE confusions (kind INTEGER NOT NULL, target INTEGER NOT NULL, pressed INTEGER NOT "
              "NULL, "
              "count INTEGER NOT NULL, PRIMARY KEY (kind, target, pressed))",
              "CREATE INDEX rounds_by_kind ON rounds(kind, started_utc)",
              "INSERT INTO confusions VALUES (0, 40, 41, 3)"})
            QVERIFY2(v1.exec(QString::fromLatin1(sql)), sql);
        // day 45000: two finished rounds (all right, half right) and an abandoned one; day 45001: one
        const struct
        {
            double started;
            int finished, presses, errors, elapsedMs;
        } rounds[] = {{45000.25, 1, 10, 0, 30000},
                      {45000.75, 1, 10, 5, 50000},
                      {45000.8, 0, 4, 4, 9000},
                      {45001.5, 1, 8, 2, 20000}};
        for (const auto& r : rounds)
            QVERIFY(
                v1.exec(QStringLiteral("INSERT INTO rounds (started_utc, ended_utc, mode, kind, test_number, "
                                       "finished, presses, errors, elapsed_ms) VALUES (%1, %1, 1, 0, 101, "
                                       "%2, %3, %4, %5)")
                            .arg(utcMsFromDays(r.started))
                            .arg(r.finished)
                            .arg(r.presses)
                            .arg(r.errors)
                            .arg(r.elapsedMs)));
    }
    AnswerStore store(m_dir->path());
    store.open();
    // nothing the first version kept is lost, and the progress view reads one row per day
    QCOMPARE(store.rounds(SymbolKind::Description).size(), 4);
    const QList<Confusion> confusions = store.confusions(SymbolKind::Description, 5);
    QCOMPARE(confusions.size(), 1);
    QCOMPARE(confusions.first().count, 3);
    store.beginRound(1, SymbolKind::Description, 101, 45001.9);
    store.record(40, 40, true, 900, 45001.9);
    store.endRound(true, 10000, 45001.9);
    const QList<DayStats> days = store.days(SymbolKind::Description);
    QCOMPARE(days.size(), 2);
    QCOMPARE(days[0].day, 45000);
    QCOMPARE(days[0].rounds, 2);
    QCOMPARE(days[0].meanAccuracy, 0.75);
    QCOMPARE(days[0].meanElapsedMs, 40000.0);
    QCOMPARE(days[1].day, 45001);
    QCOMPARE(days[1].rounds, 2);
    QCOMPARE(days[1].meanAccuracy, (0.75 + 1.0) / 2);
    Reader reader(store.filePath());
    QCOMPARE(reader.value(QStringLiteral("SELECT version FROM schema_version")).toInt(),
             AnswerStore::SchemaVersion);
}

void TestAnswerStore::killedProgramKeepsEveryFinishedRound()
{
    int kills = 0;
    QElapsedTimer budget;
    budget.start();
    const QString path = m_dir->filePath(AnswerStore::fileName());
    while (kills < MaxKills && budget.elapsed() < TimeBudgetMs) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(ChildRounds), m_dir->path()});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(10000));
        QThread::msleep(QRandomGenerator::global()->bounded(5, 60));
        child.kill();
        child.waitForFinished();
        ++kills;
        const QByteArray output = child.readAllStandardOutput();
        int reported = 0;
        for (const QByteArray& line : output.split('\n')) {
            bool ok = false;
            line.trimmed().toInt(&ok);
            reported += ok ? 1 : 0;
        }
        Reader reader(path);
        QCOMPARE(reader.value(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        // every round the child reported is there (this run's and all before), each one whole
        const int rounds = reader.value(QStringLiteral("SELECT count(*) FROM rounds")).toInt();
        QVERIFY2(rounds >= reported,
                 qPrintable(QStringLiteral("%1 rounds, %2 reported").arg(rounds).arg(reported)));
        QCOMPARE(reader.value(QStringLiteral("SELECT count(*) FROM answers")).toInt(),
                 rounds * PressesPerRound);
        QCOMPARE(reader.value(QStringLiteral("SELECT sum(attempts) FROM symbols")).toInt(),
                 rounds * PressesPerRound);
    }
    QVERIFY(kills >= 3);
}

void TestAnswerStore::unusableFileIsNamedAndResultsUntouched_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("damaged") << "damaged";
    QTest::newRow("locked") << "locked";
    QTest::newRow("newer schema") << "newer";
    QTest::newRow("another program's tables") << "foreign";
    QTest::newRow("unreadable") << "unreadable";
}

void TestAnswerStore::unusableFileIsNamedAndResultsUntouched()
{
    QFETCH(QString, fault);
    const QByteArray results(144, 'r');
    QVERIFY(m_dir->write(QStringLiteral("Results.dat"), results));
    const QString path = m_dir->filePath(AnswerStore::fileName());
    std::unique_ptr<Reader> holder;
    if (fault == QLatin1String("damaged")) {
        QVERIFY(m_dir->write(AnswerStore::fileName(), QByteArray(8192, '\x5a')));
    } else if (fault == QLatin1String("unreadable")) {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        QVERIFY(m_dir->write(AnswerStore::fileName(), QByteArray()));
        QFile::setPermissions(path, QFileDevice::Permissions());
    } else {
        holder = std::make_unique<Reader>(path);
        if (fault == QLatin1String("locked")) {
            QVERIFY(holder->exec(QStringLiteral("CREATE TABLE t (x)")));
            QVERIFY(holder->exec(QStringLiteral("BEGIN EXCLUSIVE")));
        } else if (fault == QLatin1String("newer")) {
            QVERIFY(holder->exec(QStringLiteral("CREATE TABLE schema_version (version INTEGER)")));
            QVERIFY(holder->exec(QStringLiteral("INSERT INTO schema_version VALUES (99)")));
        } else {
            QVERIFY(holder->exec(QStringLiteral("CREATE TABLE games (x)")));
        }
    }
    AnswerStore store(m_dir->path());
    // the store reports its failure; the application shows it
    store.setFailureReporter([](const AppError& error) { MessageBoxes::showError(error); });
    // the game's way: one message, then no statistics for the rest of the run
    QVERIFY(!store.ensureOpen());
    QVERIFY(!store.ensureOpen());
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.first().contains(path), qPrintable(m_messages.first()));
    QVERIFY2(m_messages.first().contains(QLatin1String("Statistics are off")),
             qPrintable(m_messages.first()));
    store.beginRound(3, SymbolKind::Description, 101, 45000);
    store.record(1, 1, true, 10, 45000);
    store.endRound(true, 10, 45000); // nothing to write to, and no throw: the round was never begun
    QCOMPARE(m_messages.size(), 1);
    QFile file(m_dir->filePath(QStringLiteral("Results.dat")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), results);
    // the file of another program or version is left as it was
    if (fault == QLatin1String("newer") || fault == QLatin1String("foreign"))
        QCOMPARE(holder->value(QStringLiteral("SELECT count(*) FROM sqlite_master")).toInt(), 1);
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], ChildRounds) == 0) {
        QCoreApplication app(argc, argv);
        try {
            return runChild(QString::fromLocal8Bit(argv[2]));
        } catch (const AppError& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 1;
        }
    }
    QCoreApplication app(argc, argv);
    TestAnswerStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_answerstore.moc"
