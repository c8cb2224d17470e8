// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/ResultsFile.h"

#include "content/Language.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/FileLock.h"
#include "platform/Files.h"
#include "results/NameSlot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace {

// A trim keeps this many results of each test.
constexpr qsizetype KeptPerTest = 20;
// Records are read in blocks of this many.
constexpr qsizetype RecordsPerRead = 1024;
// The smallest page size of the systems we run on.
constexpr qint64 WritePageSize = 4096;

constexpr char TemporaryExtension[] = ".tmp";
constexpr char LockExtension[] = ".lock";
// How long a change of the results file waits for another copy of the program that changes it.
constexpr std::chrono::milliseconds LockWait{3000};
constexpr char LineEnd[] = "\r\n";

// The wait for the lock (tests shorten it).
std::chrono::milliseconds& lockWait()
{
    static std::chrono::milliseconds instance = LockWait;
    return instance;
}

ResultsCommit& commitOverride()
{
    static ResultsCommit instance;
    return instance;
}

QString resultsName()
{
    return QLatin1String(ResultsFileBareName);
}

// The results file's lock, held for the whole read-change-write of an append, a trim or a clear, so
// that two copies of the program on one folder never change it at once: each reads the file only
// once it holds the lock. Another copy is waited for a moment; after that the change is refused
// with a message, and nothing is lost. A folder that can hold no lock file cannot take the change
// either, which then fails with the file's own error.
class ResultsLock
{
public:
    explicit ResultsLock(const QString& lockFile) : m_lock(lockFile)
    {
        if (m_lock.acquire(lockWait()) == FileLock::Outcome::Busy)
            throw AppError(QString::fromLatin1(Msg::ResultsInUse))
                .inFile(QFileInfo(resultsFileName()).absoluteFilePath());
    }

    // The lock beside the results file that changes are written to (its folder made when missing).
    static ResultsLock forWriting() { return ResultsLock(DataFolder::freshFile(resultsLockFileName())); }

private:
    FileLock m_lock;
};

// Opens the results file for reading and writing without truncating it, creating it when missing.
void openResultsFile(QFile& file)
{
    file.setFileName(DataFolder::fileForWriting(resultsName()));
    Files::openRegular(file, QIODevice::ReadWrite | QIODevice::Unbuffered);
}

// Opens the results file for reading only, so that a read-only file or folder can still be viewed;
// false when there is no results file. A missing one is created empty where the folder allows it.
bool openResultsFileForReading(QFile& file, QIODevice::OpenMode mode = {})
{
    file.setFileName(resultsFileName());
    if (!file.exists()) {
        QFile created(file.fileName());
        if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            created.close();
        return false;
    }
    Files::openRegular(file, QIODevice::ReadOnly | mode);
    return true;
}

// Calls `visit` with the bytes of each whole record from the file's start on, in file order.
// Returns the number of bytes after the last whole record: those of a cut record, left out.
template <typename Visit> qint64 forEachRecord(QFile& file, Visit visit)
{
    QByteArray buffer(RecordsPerRead * TResultRecord::RecordSize, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        errno = 0;
        const qint64 got = file.read(buffer.data() + filled, buffer.size() - filled);
        if (got < 0)
            Files::throwFileError(file, errno);
        if (got == 0)
            break;
        filled += got;
        const qsizetype whole = filled - filled % TResultRecord::RecordSize;
        for (qsizetype at = 0; at < whole; at += TResultRecord::RecordSize)
            visit(QByteArrayView(buffer.constData() + at, TResultRecord::RecordSize));
        std::memmove(buffer.data(), buffer.constData() + whole, filled - whole);
        filled -= whole;
    }
    return filled;
}

// Decodes the names of many records. Names repeat (a club's runners, the test's own name), so each
// distinct name is decoded once and its string shared by every record that carries it.
class NameDecoder
{
public:
    QString operator()(const char* slot)
    {
        const QByteArrayView whole(slot, NameSlot::SlotSize);
        const QByteArrayView bytes = whole.sliced(1, NameSlot::significantBytes(whole));
        // Consecutive records often carry the same name (always the same test name).
        if (bytes == m_lastBytes)
            return m_last;
        const QByteArray key = QByteArray::fromRawData(bytes.data(), bytes.size());
        const auto found = m_names.constFind(key);
        if (found != m_names.constEnd()) {
            m_lastBytes = found.key();
            m_last = *found;
        } else {
            m_last = NameSlot::decode(whole);
            m_lastBytes = bytes.toByteArray();
            if (m_names.size() < MaxNames)
                m_names.insert(m_lastBytes, m_last);
        }
        return m_last;
    }

private:
    // Beyond this many distinct names new ones are decoded each time.
    static constexpr qsizetype MaxNames = 8192;
    QHash<QByteArray, QString> m_names;
    QByteArray m_lastBytes;
    QString m_last;
};

// Names of players and names of tests, each decoded by a decoder of its own.
struct RecordDecoder
{
    NameDecoder players;
    NameDecoder tests;
};

TResultRecord decodeRecord(QByteArrayView bytes, RecordDecoder& names)
{
    const char* p = bytes.data();
    TResultRecord record;
    record.PlayerName = names.players(p + TResultRecord::PlayerNameOffset);
    record.TestName = names.tests(p + TResultRecord::TestNameOffset);
    record.TestNumber = qFromLittleEndian<qint32>(p + TResultRecord::TestNumberOffset);
    record.Time = std::bit_cast<double>(qFromLittleEndian<quint64>(p + TResultRecord::TimeOffset));
    record.Errors = qFromLittleEndian<qint32>(p + TResultRecord::ErrorsOffset);
    return record;
}

qint32 testNumberOf(QByteArrayView record)
{
    return qFromLittleEndian<qint32>(record.data() + TResultRecord::TestNumberOffset);
}

bool isDamagedResult(qint32 errors, double time)
{
    constexpr double LongestTime = 1.0; // a day
    return errors < 0 || !std::isfinite(time) || time < 0 || time > LongestTime;
}

qint32 errorsOf(const char* record)
{
    return qFromLittleEndian<qint32>(record + TResultRecord::ErrorsOffset);
}

double timeOf(const char* record)
{
    return std::bit_cast<double>(qFromLittleEndian<quint64>(record + TResultRecord::TimeOffset));
}

// TResultRecord::isDamaged on the record's bytes.
bool isDamagedRecord(const char* record)
{
    return isDamagedResult(errorsOf(record), timeOf(record));
}

// The whole records of the file from its start, in one buffer as large as the file; a cut last
// record is left out.
QByteArray readWholeRecords(QFile& file)
{
    // room for one record more than the file holds, so that the read that finds its end needs none
    QByteArray bytes(file.size() + TResultRecord::RecordSize, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2); // the file grew while it was read
        errno = 0;
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0)
            Files::throwFileError(file, errno);
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled - filled % TResultRecord::RecordSize);
    return bytes;
}

// The sound records of one test ranked, read from the results file in pieces; `damaged` counts the
// others. Only each record's number in the file and its rank key are kept.
RankedResults rankTestRecords(qint32 testNumber, int& damaged)
{
    auto file = std::make_shared<QFile>();
    if (!openResultsFileForReading(*file, QIODevice::Unbuffered))
        return {};
    std::vector<quint32> records;
    std::vector<quint64> keys;
    // room for every record of the file, taken only as far as it is used
    const auto whole = static_cast<size_t>(file->size() / TResultRecord::RecordSize);
    records.reserve(whole);
    keys.reserve(whole);
    quint32 number = 0;
    forEachRecord(*file, [&](QByteArrayView bytes) {
        const char* record = bytes.data();
        if (testNumberOf(bytes) == testNumber) {
            if (isDamagedRecord(record)) {
                ++damaged;
            } else {
                records.push_back(number);
                keys.push_back(RankedResults::rankKey(errorsOf(record), timeOf(record)));
            }
        }
        ++number;
    });
    return RankedResults::rank(std::move(file), records, keys);
}

// The records of one test in a trim, as indexes into the file's records: the sound ones with their
// rank keys, the damaged ones.
struct TestGroup
{
    std::vector<quint64> keys;
    std::vector<quint32> sound;
    std::vector<quint32> damaged;
};

// The records of every test, grouped by test in the order of each test's first record.
std::vector<TestGroup> groupTests(const QByteArray& bytes)
{
    std::vector<TestGroup> groups;
    // every test number the program gives is below 65 536 and finds its group in a table; others
    // (a damaged file) in a hash
    constexpr qint32 TableSize = 1 << 16;
    constexpr size_t NoGroup = ~size_t(0);
    std::vector<size_t> groupOfSmall(TableSize, NoGroup);
    QHash<qint32, size_t> groupOfOther;
    const qsizetype count = bytes.size() / TResultRecord::RecordSize;
    for (qsizetype i = 0; i < count; ++i) {
        const char* record = bytes.constData() + i * TResultRecord::RecordSize;
        const qint32 number = testNumberOf(QByteArrayView(record, TResultRecord::RecordSize));
        size_t* slot = nullptr;
        if (number >= 0 && number < TableSize)
            slot = &groupOfSmall[size_t(number)];
        else
            slot = &*groupOfOther.insert(number, groupOfOther.value(number, NoGroup));
        if (*slot == NoGroup) {
            *slot = groups.size();
            groups.emplace_back();
        }
        TestGroup& group = groups[*slot];
        if (isDamagedRecord(record)) {
            group.damaged.push_back(quint32(i));
        } else {
            group.keys.push_back(RankedResults::rankKey(errorsOf(record), timeOf(record)));
            group.sound.push_back(quint32(i));
        }
    }
    return groups;
}

// The first `count` indexes of the stable order of `keys` (smallest key first).
std::vector<quint32> bestOf(const std::vector<quint64>& keys, size_t count)
{
    std::vector<quint32> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = quint32(i);
    // equal keys keep their file order
    const auto before = [&keys](quint32 a, quint32 b) {
        return std::pair(keys[a], a) < std::pair(keys[b], b);
    };
    count = std::min(count, order.size());
    std::partial_sort(order.begin(), order.begin() + qsizetype(count), order.end(), before);
    order.resize(count);
    return order;
}

void putName(char* slot, const QString& name)
{
    const QByteArray bytes = NameSlot::encode(name);
    std::memcpy(slot, bytes.constData(), static_cast<size_t>(bytes.size()));
}

// Replaces the results file with `bytes` in one step; nothing changes on failure.
void replaceResultsFile(const QString& path, const QByteArray& bytes)
{
    Files::replaceWhole(path, bytes, commitOverride());
}

// Removes the new copies of the results file ("Results.dat.XXXXXX", made beside it while it is
// written) that a killed trim or append left behind; they are never read.
void removeLeftoverCopies(const QString& path)
{
    const QFileInfo results(path);
    const QRegularExpression leftover(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(results.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QStringList names = results.dir().entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (leftover.match(name).hasMatch())
            QFile::remove(results.dir().filePath(name));
    }
}

} // namespace

bool TResultRecord::isDamaged() const
{
    return isDamagedResult(Errors, Time);
}

QByteArray TResultRecord::encode() const
{
    QByteArray bytes(RecordSize, '\0');
    char* p = bytes.data();
    putName(p + PlayerNameOffset, PlayerName);
    putName(p + TestNameOffset, TestName);
    qToLittleEndian<qint32>(TestNumber, p + TestNumberOffset);
    qToLittleEndian<quint64>(std::bit_cast<quint64>(Time), p + TimeOffset);
    qToLittleEndian<qint32>(Errors, p + ErrorsOffset);
    return bytes;
}

TResultRecord TResultRecord::decode(QByteArrayView bytes)
{
    if (bytes.size() < RecordSize)
        throw AppError(QString::fromLatin1(Msg::ReadBeyondEnd));
    RecordDecoder names;
    return decodeRecord(bytes, names);
}

QString storedName(const QString& name)
{
    return NameSlot::decode(NameSlot::encode(name));
}

RankedResults& ResultsTable()
{
    static RankedResults table;
    return table;
}

bool ranksAfter(const TResultRecord& a, const TResultRecord& b)
{
    return RankedResults::rankKey(a.Errors, a.Time) > RankedResults::rankKey(b.Errors, b.Time);
}

void rankResults(QList<TResultRecord>& records)
{
    const qsizetype count = records.size();
    if (count < 2)
        return;
    std::vector<quint64> keys(static_cast<size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        keys[static_cast<size_t>(i)] = RankedResults::rankKey(records[i].Errors, records[i].Time);
    QList<TResultRecord> ranked;
    ranked.reserve(count);
    for (const quint32 index : RankedResults::stableOrder(keys))
        ranked.append(std::move(records[index]));
    records = std::move(ranked);
}

qint64 forEachStoredResult(const QString& path, const std::function<void(const TResultRecord&)>& visit)
{
    QFile file(path);
    if (!file.exists())
        return 0;
    Files::openRegular(file, QIODevice::ReadOnly);
    RecordDecoder names;
    return forEachRecord(file, [&](QByteArrayView bytes) { visit(decodeRecord(bytes, names)); });
}

qint64 cutRecordBytes(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() % TResultRecord::RecordSize : 0;
}

QString resultsFileName()
{
    const QString found = DataFolder::find(resultsName());
    return found.isEmpty() ? QDir(DataFolder::path()).filePath(resultsName()) : found;
}

QString temporaryResultsFileName()
{
    const QString name = resultsName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    return base + QLatin1String(TemporaryExtension);
}

void AppendResult(const TResultRecord& record)
{
    const ResultsLock lock = ResultsLock::forWriting();
    QFile file;
    openResultsFile(file);
    // An interrupted write of an older version can have left a torn last record; appending after it
    // would misalign every later record, so the tail is cut back to a record boundary.
    const qint64 size = file.size();
    const qint64 aligned = size - size % TResultRecord::RecordSize;
    const QByteArray bytes = record.encode();
    // The system copies a write into the file page by page and stops between two pages when the
    // process is killed, which would leave a torn record. A record that fits in one page is written
    // in place; one that would cross a page boundary goes into a new copy of the file that replaces
    // the old one in one step.
    if (aligned / WritePageSize != (aligned + TResultRecord::RecordSize - 1) / WritePageSize) {
        errno = 0;
        QByteArray whole = file.read(aligned);
        if (whole.size() != aligned)
            Files::throwFileError(file, errno);
        file.close();
        whole += bytes;
        replaceResultsFile(file.fileName(), whole);
        removeLeftoverCopies(file.fileName());
        return;
    }
    if (aligned != size) {
        errno = 0;
        if (!file.resize(aligned))
            Files::throwFileError(file, errno);
    }
    errno = 0;
    if (aligned > 0 && !file.seek(aligned))
        Files::throwFileError(file, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int writeErrno = errno;
        // a part of the record may have landed: cut it off again
        file.resize(aligned);
        Files::throwFileError(file, writeErrno);
    }
}

int LoadRankedResults(qint32 testNumber, int* damaged)
{
    RankedResults& results = ResultsTable();
    results.clear();
    int damagedCount = 0;
    RankedResults ranked = rankTestRecords(testNumber, damagedCount);
    if (damaged)
        *damaged = damagedCount;
    results = std::move(ranked);
    return static_cast<int>(results.size());
}

int KeepBestResults()
{
    const ResultsLock lock = ResultsLock::forWriting();
    // A results file that only the program folder holds is copied over first, then read.
    const QString path = DataFolder::fileForWriting(resultsName());
    QByteArray bytes;
    {
        QFile file;
        if (openResultsFileForReading(file))
            bytes = readWholeRecords(file);
    }
    const auto recordAt = [&bytes](quint32 index) {
        return QByteArrayView(bytes.constData() + qsizetype(index) * TResultRecord::RecordSize,
                              TResultRecord::RecordSize);
    };

    // Only the kept records are decoded, and written as a record is always written.
    QByteArray kept;
    QByteArray keptList;
    QList<TResultRecord> lastBest;
    RecordDecoder names;
    int removed = 0;
    for (const TestGroup& group : groupTests(bytes)) {
        const std::vector<quint32> best = bestOf(group.keys, size_t(KeptPerTest));
        removed += static_cast<int>(group.sound.size() - best.size());
        lastBest.clear();
        // damaged records are never ranked, and never thrown away by a trim
        const auto keep = [&](quint32 index) {
            kept += decodeRecord(recordAt(index), names).encode();
            keptList += QByteArray::number(testNumberOf(recordAt(index))) + LineEnd;
        };
        for (const quint32 rank : best) {
            keep(group.sound[rank]);
            lastBest.append(decodeRecord(recordAt(group.sound[rank]), names));
        }
        for (const quint32 index : group.damaged)
            keep(index);
    }
    // As after loading, the results table holds the last test's ranked results.
    if (!bytes.isEmpty())
        ResultsTable() = RankedResults(lastBest);

    Files::replaceWhole(DataFolder::freshFile(QString::fromLatin1(TrimListFileName)), keptList);
    replaceResultsFile(path, kept);
    // A temporary file of an older trim is never read back; it is only removed.
    const QString stale = Files::find(temporaryResultsFileName(), DataFolder::path());
    if (!stale.isEmpty())
        QFile::remove(stale);
    removeLeftoverCopies(path);
    return removed;
}

int CountResultsBeyondBest()
{
    QHash<qint32, int> soundOfTest;
    QFile file;
    if (openResultsFileForReading(file)) {
        forEachRecord(file, [&](QByteArrayView bytes) {
            if (!isDamagedRecord(bytes.data()))
                ++soundOfTest[testNumberOf(bytes)];
        });
    }
    int removed = 0;
    for (const int sound : std::as_const(soundOfTest))
        removed += std::max(0, sound - static_cast<int>(KeptPerTest));
    return removed;
}

void ClearResults()
{
    // a folder that does not exist yet holds nothing to clear, and is not made for the lock
    std::optional<ResultsLock> lock;
    if (QFileInfo(DataFolder::path()).isDir())
        lock.emplace(DataFolder::freshFile(resultsLockFileName()));
    const QString own = Files::find(resultsName(), DataFolder::path());
    if (!own.isEmpty()) {
        QFile file(own);
        errno = 0;
        if (!file.remove())
            Files::throwFileError(file, errno);
    }
    // A results file that the program folder still holds cannot be removed, and would be read again:
    // an empty file in the user's data folder takes its place.
    if (DataFolder::isUserFolder() && !DataFolder::find(resultsName()).isEmpty())
        Files::replaceWhole(DataFolder::freshFile(resultsName()), {});
}

void setResultsCommitOverride(ResultsCommit commit)
{
    commitOverride() = std::move(commit);
}

QString resultsLockFileName()
{
    return resultsName() + QLatin1String(LockExtension);
}

void setResultsLockWait(std::chrono::milliseconds wait)
{
    lockWait() = wait.count() > 0 ? wait : LockWait;
}
