// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/AnswerStore.h"

#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/Files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QTimeZone>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr char StoreFileName[] = "Statistics.sqlite";
constexpr char Driver[] = "QSQLITE";
// A file locked by another program is waited for this long before the store gives up.
constexpr char ConnectOptions[] = "QSQLITE_BUSY_TIMEOUT=500";
// SQLite's result codes of a full disk and of a failed read or write.
constexpr char SqliteFull[] = "13";
constexpr char SqliteIoError[] = "10";
// Less room than this in the store's folder makes a failed write one of a full disk: the opening
// alone writes the shared index (32 KiB) and a page or two.
constexpr qint64 MinimumFreeBytes = 64 * 1024;

// The schema, one list of statements per version: migration n brings a file of version n - 1 to
// version n. A file is migrated step by step from its own version on, each step in a transaction.
const QList<QList<const char*>> Migrations = {
    // version 1
    {
        "CREATE TABLE rounds (id INTEGER PRIMARY KEY, started_utc INTEGER NOT NULL, "
        "ended_utc INTEGER NOT NULL, mode INTEGER NOT NULL, kind INTEGER NOT NULL, "
        "test_number INTEGER NOT NULL, finished INTEGER NOT NULL, presses INTEGER NOT NULL, "
        "errors INTEGER NOT NULL, elapsed_ms INTEGER NOT NULL)",
        "CREATE TABLE answers (id INTEGER PRIMARY KEY, round_id INTEGER NOT NULL REFERENCES rounds(id), "
        "at_utc INTEGER NOT NULL, mode INTEGER NOT NULL, kind INTEGER NOT NULL, "
        "test_number INTEGER NOT NULL, target INTEGER NOT NULL, pressed INTEGER NOT NULL, "
        "correct INTEGER NOT NULL, ms INTEGER NOT NULL)",
        // kept with the answers in the same transaction, so that the progress view and the drill
        // read a few hundred rows instead of every answer
        "CREATE TABLE symbols (kind INTEGER NOT NULL, value INTEGER NOT NULL, attempts INTEGER NOT NULL, "
        "correct INTEGER NOT NULL, total_ms INTEGER NOT NULL, recent INTEGER NOT NULL, "
        "recent_count INTEGER NOT NULL, box INTEGER NOT NULL, last_utc INTEGER NOT NULL, "
        "PRIMARY KEY (kind, value))",
        "CREATE TABLE confusions (kind INTEGER NOT NULL, target INTEGER NOT NULL, pressed INTEGER NOT NULL, "
        "count INTEGER NOT NULL, PRIMARY KEY (kind, target, pressed))",
        "CREATE INDEX rounds_by_kind ON rounds(kind, started_utc)",
    },
    // version 2: the progress view reads one row per day and the most frequent confusions from an
    // index, however many rounds and answers are kept
    {
        // the round's start as a local day (days since 1899-12-30, as the program counts dates)
        "ALTER TABLE rounds ADD COLUMN local_day INTEGER",
        "UPDATE rounds SET local_day = "
        "CAST(julianday(started_utc / 1000.0, 'unixepoch', 'localtime') - 2415018.5 AS INTEGER)",
        "CREATE INDEX rounds_by_day ON rounds(kind, finished, local_day, presses, errors, elapsed_ms)",
        "CREATE INDEX confusions_by_count ON confusions(kind, count DESC, target, pressed)",
    },
};

QString connectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("answers-%1").arg(next++);
}

} // namespace

struct AnswerStore::Round
{
    struct Press
    {
        double at;
        qint32 target;
        qint32 pressed;
        qint32 ms;
        bool right;
    };
    quint8 mode = 0;
    SymbolKind kind = SymbolKind::Description;
    qint32 testNumber = 0;
    double started = 0;
    QList<Press> presses;
};

// The connection and its prepared statements.
class AnswerStore::Database
{
public:
    explicit Database(const QString& path) : m_name(connectionName()), m_path(path)
    {
        m_db = QSqlDatabase::addDatabase(QString::fromLatin1(Driver), m_name);
        m_db.setDatabaseName(path);
        m_db.setConnectOptions(QString::fromLatin1(ConnectOptions));
    }
    ~Database()
    {
        m_insertRound.reset();
        m_insertAnswer.reset();
        m_upsertSymbol.reset();
        m_upsertConfusion.reset();
        m_moveBox.reset();
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }

    [[noreturn]] void fail(const QSqlError& error) const
    {
        if (diskFull(error))
            throw AppError(QString::fromLatin1(Msg::DiskFull)).inFile(m_path);
        QString text = error.databaseText();
        if (text.isEmpty())
            text = error.text();
        throw AppError(QString::fromLatin1(Msg::StatisticsUnusable), {text}).inFile(m_path);
    }

    // SQLite says "database or disk is full", or only "disk I/O error" when the disk fills as the
    // file's shared index is made at the opening; the folder's free space tells which it was.
    bool diskFull(const QSqlError& error) const
    {
        const QString code = error.nativeErrorCode();
        if (code == QLatin1String(SqliteFull))
            return true;
        if (code != QLatin1String(SqliteIoError))
            return false;
        const QStorageInfo disk(QFileInfo(m_path).absolutePath());
        return disk.isValid() && disk.bytesAvailable() < MinimumFreeBytes;
    }

    void open()
    {
        if (!m_db.isValid())
            throw AppError(QString::fromLatin1(Msg::StatisticsUnusable), {QStringLiteral("no SQLite driver")})
                .inFile(m_path);
        if (!m_db.open())
            fail(m_db.lastError());
        // A damaged file shows here, at the first statement that reads it.
        const QVariant mode = value(QStringLiteral("PRAGMA journal_mode=WAL"));
        if (mode.toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
            exec(QStringLiteral("PRAGMA journal_mode=WAL")); // reports why it is refused
        // WAL with NORMAL: a commit reaches the file before the call returns, so a killed program
        // keeps it; only a power cut can lose the last rounds.
        exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        migrate();
        prepare();
    }

    void exec(const QString& sql)
    {
        QSqlQuery q(m_db);
        if (!q.exec(sql))
            fail(q.lastError());
    }
    QVariant value(const QString& sql)
    {
        QSqlQuery q(m_db);
        if (!q.exec(sql))
            fail(q.lastError());
        return q.next() ? q.value(0) : QVariant();
    }
    QSqlQuery select(const QString& sql, const QVariantList& bound = {}) const
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!q.prepare(sql))
            fail(q.lastError());
        for (const QVariant& v : bound)
            q.addBindValue(v);
        if (!q.exec())
            fail(q.lastError());
        return q;
    }
    void transaction()
    {
        if (!m_db.transaction())
            fail(m_db.lastError());
    }
    void commit()
    {
        if (!m_db.commit()) {
            const QSqlError error = m_db.lastError();
            m_db.rollback();
            fail(error);
        }
    }
    void rollback() { m_db.rollback(); }

    void run(QSqlQuery& q)
    {
        if (!q.exec())
            fail(q.lastError());
    }

    std::unique_ptr<QSqlQuery> m_insertRound;
    std::unique_ptr<QSqlQuery> m_insertAnswer;
    std::unique_ptr<QSqlQuery> m_upsertSymbol;
    std::unique_ptr<QSqlQuery> m_upsertConfusion;
    std::unique_ptr<QSqlQuery> m_moveBox;

private:
    void migrate()
    {
        const bool versioned =
            value(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name='schema_version'")).toInt() >
            0;
        int version = 0;
        if (versioned) {
            version = value(QStringLiteral("SELECT max(version) FROM schema_version")).toInt();
        } else if (value(QStringLiteral("SELECT count(*) FROM sqlite_master")).toInt() > 0) {
            // tables of something else: not ours to change
            throw AppError(QString::fromLatin1(Msg::DamagedFile)).inFile(m_path);
        }
        if (version > SchemaVersion)
            throw AppError(QString::fromLatin1(Msg::StatisticsTooNew), {QString::number(version)})
                .inFile(m_path);
        for (int next = version + 1; next <= SchemaVersion; ++next) {
            transaction();
            try {
                if (next == 1)
                    exec(QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"));
                for (const char* statement : Migrations[next - 1])
                    exec(QString::fromLatin1(statement));
                exec(QStringLiteral("DELETE FROM schema_version"));
                exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)").arg(next));
                commit();
            } catch (...) {
                rollback();
                throw;
            }
        }
    }

    std::unique_ptr<QSqlQuery> prepared(const char* sql)
    {
        auto q = std::make_unique<QSqlQuery>(m_db);
        if (!q->prepare(QString::fromLatin1(sql)))
            fail(q->lastError());
        return q;
    }

    void prepare()
    {
        m_insertRound = prepared(
            "INSERT INTO rounds (started_utc, ended_utc, mode, kind, test_number, finished, presses, "
            "errors, elapsed_ms, local_day) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        m_insertAnswer = prepared("INSERT INTO answers (round_id, at_utc, mode, kind, test_number, target, "
                                  "pressed, correct, ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
        m_upsertSymbol =
            prepared("INSERT INTO symbols (kind, value, attempts, correct, total_ms, recent, recent_count, "
                     "box, last_utc) "
                     "VALUES (?, ?, 1, ?, ?, ?, 1, 1, ?) ON CONFLICT (kind, value) DO UPDATE SET "
                     "attempts = attempts + 1, correct = correct + excluded.correct, "
                     "total_ms = total_ms + excluded.total_ms, "
                     "recent = ((recent << 1) | excluded.correct) & 1023, "
                     "recent_count = min(recent_count + 1, 10), last_utc = excluded.last_utc");
        // Leitner, once per symbol and round: a round in which the symbol was answered wrong sends it
        // to box 1, a round in which it was found at once moves it up one box.
        m_moveBox = prepared("UPDATE symbols SET box = CASE WHEN ? THEN min(box + 1, 10) ELSE 1 END "
                             "WHERE kind = ? AND value = ?");
        m_upsertConfusion =
            prepared("INSERT INTO confusions (kind, target, pressed, count) VALUES (?, ?, ?, 1) "
                     "ON CONFLICT (kind, target, pressed) DO UPDATE SET count = count + 1");
    }

    QString m_name;
    QString m_path;
    QSqlDatabase m_db;
};

static_assert(AnswerStore::RecentWindow == 10 && AnswerStore::TopBox == 10,
              "the upsert statement spells out the recent window and the top box");

double SymbolStats::recentAccuracy() const
{
    // a damaged file may hold any count: only the window's bits are looked at
    const int count = std::clamp(recentCount, 0, AnswerStore::RecentWindow);
    return count > 0 ? double(std::popcount(recent & ((1u << count) - 1))) / count : 0;
}

SymbolStats::Mastery SymbolStats::mastery() const
{
    constexpr double WeakBelow = 0.6;
    constexpr double KnownFrom = 0.9;
    constexpr int KnownAfter = 3;
    if (recentCount <= 0)
        return NeverSeen;
    const double accuracy = recentAccuracy();
    if (accuracy < WeakBelow)
        return Weak;
    return accuracy >= KnownFrom && recentCount >= KnownAfter ? Known : Learning;
}

QDate SymbolStats::dueDate() const
{
    const QDate last = QDateTime::fromMSecsSinceEpoch(lastUtcMs, QTimeZone::utc()).toLocalTime().date();
    return last.addDays(qint64(1) << (std::clamp(box, 1, AnswerStore::TopBox) - 1));
}

AnswerStore::AnswerStore(const QString& folder) : m_path(QDir(folder).absoluteFilePath(fileName())) {}

AnswerStore::~AnswerStore() = default;

QString AnswerStore::fileName()
{
    return QString::fromLatin1(StoreFileName);
}

QString AnswerStore::defaultFolder()
{
    // beside the results file: the program folder, or the user's data folder of an installed copy
    return DataFolder::path();
}

void AnswerStore::open()
{
    if (m_db)
        return;
    // an installed copy's data folder is made by the first file written there; SQLite makes no folder
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // SQLite would take a folder or a pipe of the name for a damaged database
    Files::requireRegular(m_path, true);
    auto db = std::make_unique<Database>(m_path);
    db->open();
    m_db = std::move(db);
}

bool AnswerStore::isOpen() const
{
    return m_db != nullptr;
}

void AnswerStore::disable(const AppError& error)
{
    const bool first = !m_disabled;
    m_disabled = true;
    m_db.reset();
    m_round.reset();
    // the game goes on without statistics, and says so with the cause
    if (first && m_reportFailure)
        m_reportFailure(
            AppError(QString::fromLatin1(Msg::StatisticsOff), {error.text()}).inFile(error.file()));
}

bool AnswerStore::ensureOpen()
{
    if (m_disabled)
        return false;
    try {
        open();
        return true;
    } catch (const AppError& error) {
        disable(error);
        return false;
    }
}

bool AnswerStore::openIfPresent()
{
    if (m_disabled || (!isOpen() && !QFile::exists(m_path)))
        return false;
    return ensureOpen();
}

void AnswerStore::beginRound(quint8 mode, SymbolKind kind, qint32 testNumber, double now)
{
    if (m_disabled)
        return;
    m_round = std::make_unique<Round>();
    m_round->mode = mode;
    m_round->kind = kind;
    m_round->testNumber = testNumber;
    m_round->started = now;
    // a test has at most 15 targets; a few wrong presses more are usual
    m_round->presses.reserve(32);
}

void AnswerStore::record(qint32 target, qint32 pressed, bool right, qint64 ms, double now)
{
    if (m_round)
        m_round->presses.append(
            {now, target, pressed, static_cast<qint32>(std::clamp<qint64>(ms, INT32_MIN, INT32_MAX)), right});
}

void AnswerStore::finishRound(bool finished, qint64 elapsedMs, double now)
{
    try {
        endRound(finished, static_cast<qint32>(std::clamp<qint64>(elapsedMs, INT32_MIN, INT32_MAX)), now);
    } catch (const AppError& error) {
        disable(error);
    }
}

qsizetype AnswerStore::pendingAnswers() const
{
    return m_round ? m_round->presses.size() : 0;
}

void AnswerStore::endRound(bool finished, qint32 elapsedMs, double now)
{
    const std::unique_ptr<Round> round = std::move(m_round);
    if (!round || round->presses.isEmpty())
        return;
    open();
    Database& db = *m_db;
    qint32 errors = 0;
    // each target of the round, and whether it was found without a wrong press
    QMap<qint32, bool> foundAtOnce;
    for (const Round::Press& p : round->presses) {
        errors += p.right ? 0 : 1;
        auto found = foundAtOnce.find(p.target);
        if (found == foundAtOnce.end())
            foundAtOnce.insert(p.target, p.right);
        else
            *found = *found && p.right;
    }
    db.transaction();
    try {
        QSqlQuery& r = *db.m_insertRound;
        r.bindValue(0, utcMsFromDays(round->started));
        r.bindValue(1, utcMsFromDays(now));
        r.bindValue(2, round->mode);
        r.bindValue(3, toInt(round->kind));
        r.bindValue(4, round->testNumber);
        r.bindValue(5, finished ? 1 : 0);
        r.bindValue(6, qint32(round->presses.size()));
        r.bindValue(7, errors);
        r.bindValue(8, elapsedMs);
        r.bindValue(9, qint64(std::floor(round->started)));
        db.run(r);
        const QVariant roundId = r.lastInsertId();
        QSqlQuery& a = *db.m_insertAnswer;
        QSqlQuery& s = *db.m_upsertSymbol;
        QSqlQuery& c = *db.m_upsertConfusion;
        for (const Round::Press& p : round->presses) {
            const qint64 at = utcMsFromDays(p.at);
            a.bindValue(0, roundId);
            a.bindValue(1, at);
            a.bindValue(2, round->mode);
            a.bindValue(3, toInt(round->kind));
            a.bindValue(4, round->testNumber);
            a.bindValue(5, p.target);
            a.bindValue(6, p.pressed);
            a.bindValue(7, p.right ? 1 : 0);
            a.bindValue(8, p.ms);
            db.run(a);
            s.bindValue(0, toInt(round->kind));
            s.bindValue(1, p.target);
            s.bindValue(2, p.right ? 1 : 0);
            s.bindValue(3, p.ms);
            s.bindValue(4, p.right ? 1 : 0);
            s.bindValue(5, at);
            db.run(s);
            if (!p.right && p.pressed != NoPress) {
                c.bindValue(0, toInt(round->kind));
                c.bindValue(1, p.target);
                c.bindValue(2, p.pressed);
                db.run(c);
            }
        }
        QSqlQuery& b = *db.m_moveBox;
        for (auto it = foundAtOnce.cbegin(); it != foundAtOnce.cend(); ++it) {
            b.bindValue(0, it.value() ? 1 : 0);
            b.bindValue(1, toInt(round->kind));
            b.bindValue(2, it.key());
            db.run(b);
        }
        db.commit();
    } catch (...) {
        db.rollback();
        throw;
    }
}

QList<SymbolStats> AnswerStore::symbols(std::optional<SymbolKind> kind) const
{
    QList<SymbolStats> result;
    if (!m_db)
        return result;
    QString sql =
        QStringLiteral("SELECT kind, value, attempts, correct, total_ms, recent, recent_count, box, "
                       "last_utc FROM symbols");
    QVariantList bound;
    if (kind) {
        sql += QStringLiteral(" WHERE kind = ?");
        bound << toInt(*kind);
    }
    sql += QStringLiteral(" ORDER BY kind, value");
    QSqlQuery q = m_db->select(sql, bound);
    while (q.next()) {
        SymbolStats s;
        s.kind = static_cast<SymbolKind>(q.value(0).toInt());
        s.value = q.value(1).toInt();
        s.attempts = q.value(2).toInt();
        s.correct = q.value(3).toInt();
        s.totalMs = q.value(4).toLongLong();
        s.recent = q.value(5).toUInt();
        s.recentCount = q.value(6).toInt();
        s.box = q.value(7).toInt();
        s.lastUtcMs = q.value(8).toLongLong();
        result.append(s);
    }
    return result;
}

QList<Confusion> AnswerStore::confusions(SymbolKind kind, int limit) const
{
    QList<Confusion> result;
    if (!m_db)
        return result;
    QSqlQuery q = m_db->select(QStringLiteral("SELECT target, pressed, count FROM confusions WHERE kind = ? "
                                              "ORDER BY count DESC, target, pressed LIMIT ?"),
                               {toInt(kind), limit});
    while (q.next())
        result.append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
    return result;
}

QList<RoundStats> AnswerStore::rounds(SymbolKind kind) const
{
    QList<RoundStats> result;
    if (!m_db)
        return result;
    QSqlQuery q = m_db->select(QStringLiteral("SELECT started_utc, mode, test_number, presses, errors, "
                                              "elapsed_ms, finished FROM rounds WHERE kind = ? "
                                              "ORDER BY started_utc, id"),
                               {toInt(kind)});
    while (q.next()) {
        RoundStats r;
        r.started = daysFromUtcMs(q.value(0).toLongLong());
        r.mode = static_cast<quint8>(q.value(1).toInt());
        r.testNumber = q.value(2).toInt();
        r.presses = q.value(3).toInt();
        r.errors = q.value(4).toInt();
        r.elapsedMs = q.value(5).toInt();
        r.finished = q.value(6).toInt() != 0;
        result.append(r);
    }
    return result;
}

QList<DayStats> AnswerStore::days(SymbolKind kind) const
{
    QList<DayStats> result;
    if (!m_db)
        return result;
    QSqlQuery q = m_db->select(
        QStringLiteral("SELECT local_day, count(*), "
                       "avg(CASE WHEN presses > 0 THEN (presses - errors) * 1.0 / presses ELSE 0 END), "
                       "avg(elapsed_ms) FROM rounds WHERE kind = ? AND finished = 1 "
                       "GROUP BY local_day ORDER BY local_day"),
        {toInt(kind)});
    while (q.next())
        result.append(
            {q.value(0).toLongLong(), q.value(1).toInt(), q.value(2).toDouble(), q.value(3).toDouble()});
    return result;
}

qint64 AnswerStore::answerCount() const
{
    if (!m_db)
        return 0;
    QSqlQuery q = m_db->select(QStringLiteral("SELECT count(*) FROM answers"));
    return q.next() ? q.value(0).toLongLong() : 0;
}
