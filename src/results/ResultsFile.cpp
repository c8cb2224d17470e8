#include "results/ResultsFile.h"

#include "content/Language.h"
#include "content/TextReader.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTableWidget>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// A trim keeps this many results of each test.
constexpr qsizetype KeptPerTest = 20;
// Records are read in blocks of this many.
constexpr qsizetype RecordsPerRead = 1024;
// The smallest page size of the systems we run on.
constexpr qint64 WritePageSize = 4096;

constexpr int HeaderRow = 0;
constexpr int RankColumn = 0;
constexpr int NameColumn = 1;
constexpr int TimeColumn = 2;
constexpr int ErrorsColumn = 3;
constexpr int ResultColumns = 4;
// Result cells can be selected but not edited.
constexpr Qt::ItemFlags CellFlags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;

constexpr char TemporaryExtension[] = ".tmp";
constexpr char LineEnd[] = "\r\n";

ResultsCommit& commitOverride()
{
    static ResultsCommit instance;
    return instance;
}

// The input/output error of a failed file operation; `errorNumber` is errno as the failing call
// left it (cleared before the call, so 0 means the system gave no reason).
[[noreturn]] void throwFileError(const QFileDevice& file, int errorNumber)
{
    if (errorNumber != 0)
        throw ioErrorFromErrno(errorNumber);
    if (file.error() == QFileDevice::PermissionsError)
        throw AppError(QString::fromLatin1(Msg::FileAccessDenied));
    throw ioErrorFromErrno(EIO);
}

// An existing file of that name (letter case ignored), else the bare name.
QString workingFile(const QString& name)
{
    const QString found = Files::find(name);
    return found.isEmpty() ? name : found;
}

// Opens the results file for reading and writing without truncating it, creating it when missing.
void openResultsFile(QFile& file)
{
    file.setFileName(resultsFileName());
    errno = 0;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throwFileError(file, errno);
}

// Calls `visit` with the bytes of each record from the file's start on, in file order. A short
// last record fails with "Read beyond end of file".
template <typename Visit> void forEachRecord(QFile& file, Visit visit)
{
    QByteArray buffer(RecordsPerRead * TResultRecord::RecordSize, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        errno = 0;
        const qint64 got = file.read(buffer.data() + filled, buffer.size() - filled);
        if (got < 0)
            throwFileError(file, errno);
        if (got == 0)
            break;
        filled += got;
        const qsizetype whole = filled - filled % TResultRecord::RecordSize;
        for (qsizetype at = 0; at < whole; at += TResultRecord::RecordSize)
            visit(QByteArrayView(buffer.constData() + at, TResultRecord::RecordSize));
        std::memmove(buffer.data(), buffer.constData() + whole, filled - whole);
        filled -= whole;
    }
    if (filled != 0)
        throw AppError(QString::fromLatin1(Msg::ReadBeyondEnd));
}

qint32 testNumberOf(QByteArrayView record)
{
    return qFromLittleEndian<qint32>(record.data() + TResultRecord::TestNumberOffset);
}

// Every record of one test, in file order.
QList<TResultRecord> readTestRecords(qint32 testNumber)
{
    QList<TResultRecord> records;
    QFile file;
    openResultsFile(file);
    forEachRecord(file, [&](QByteArrayView bytes) {
        if (testNumberOf(bytes) == testNumber)
            records.append(TResultRecord::decode(bytes));
    });
    return records;
}

// The records of every test, grouped by test in the order of each test's first record.
QList<QList<TResultRecord>> readAllTests()
{
    QList<QList<TResultRecord>> groups;
    QHash<qint32, qsizetype> groupOfTest;
    QFile file;
    openResultsFile(file);
    forEachRecord(file, [&](QByteArrayView bytes) {
        const qint32 number = testNumberOf(bytes);
        auto found = groupOfTest.constFind(number);
        if (found == groupOfTest.constEnd()) {
            found = groupOfTest.insert(number, groups.size());
            groups.emplaceBack();
        }
        groups[*found].append(TResultRecord::decode(bytes));
    });
    return groups;
}

// What ranking compares: errors first, then the time within the hour in whole milliseconds.
struct RankKey
{
    qint32 errors = 0;
    qint32 timeInHour = 0;

    explicit RankKey(const TResultRecord& record) : errors(record.Errors)
    {
        const TimeOfDay t = splitTimeOfDay(record.Time);
        constexpr qint32 MsPerSecond = 1000;
        constexpr qint32 SecondsPerMinute = 60;
        timeInHour = (t.minute * SecondsPerMinute + t.second) * MsPerSecond + t.millisecond;
    }
    bool ranksAfter(const RankKey& other) const
    {
        if (errors != other.errors)
            return errors > other.errors;
        return timeInHour > other.timeInHour;
    }
};

void putName(char* slot, const QString& name)
{
    const QByteArray bytes = encodeContentText(name.left(TResultRecord::MaxNameLength));
    const qsizetype length = std::min<qsizetype>(bytes.size(), TResultRecord::MaxNameLength);
    slot[0] = static_cast<char>(length);
    std::memcpy(slot + 1, bytes.constData(), static_cast<size_t>(length));
}

QString takeName(const char* slot)
{
    const int length = std::min<int>(static_cast<uchar>(slot[0]), TResultRecord::MaxNameLength);
    return decodeContentText(QByteArrayView(slot + 1, length));
}

void setCellText(QTableWidget* table, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = table->item(row, column)) {
        item->setFlags(CellFlags);
        item->setText(text);
        return;
    }
    auto* item = new QTableWidgetItem(text);
    item->setFlags(CellFlags);
    table->setItem(row, column, item);
}

// Writes the whole file `name` (letter case ignored when it exists), replacing its content.
void writeWholeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(workingFile(name));
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throwFileError(file, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        throwFileError(file, errno);
}

// Replaces the results file with `bytes` in one step: the new content goes to a fresh temporary
// file in the same folder, which is then renamed over the results file. Nothing changes on failure.
void replaceResultsFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throwFileError(file, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        throwFileError(file, errno);
    errno = 0;
    const bool committed = commitOverride() ? commitOverride()(file) : file.commit();
    if (!committed)
        throwFileError(file, errno);
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
    const char* p = bytes.data();
    TResultRecord record;
    record.PlayerName = takeName(p + PlayerNameOffset);
    record.TestName = takeName(p + TestNameOffset);
    record.TestNumber = qFromLittleEndian<qint32>(p + TestNumberOffset);
    record.Time = std::bit_cast<double>(qFromLittleEndian<quint64>(p + TimeOffset));
    record.Errors = qFromLittleEndian<qint32>(p + ErrorsOffset);
    return record;
}

QString storedName(const QString& name)
{
    return decodeContentText(encodeContentText(name.left(TResultRecord::MaxNameLength)));
}

QList<TResultRecord>& ResultsTable()
{
    static QList<TResultRecord> table;
    return table;
}

bool ranksAfter(const TResultRecord& a, const TResultRecord& b)
{
    return RankKey(a).ranksAfter(RankKey(b));
}

void rankResults(QList<TResultRecord>& records)
{
    // The keys are worked out once per record; a stable sort keeps file order among equals.
    std::vector<std::pair<RankKey, qsizetype>> order;
    order.reserve(static_cast<size_t>(records.size()));
    for (qsizetype i = 0; i < records.size(); ++i)
        order.emplace_back(RankKey(records[i]), i);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return b.first.ranksAfter(a.first); });
    QList<TResultRecord> ranked;
    ranked.reserve(records.size());
    for (const auto& entry : order)
        ranked.append(std::move(records[entry.second]));
    records = std::move(ranked);
}

int showResults(QTableWidget* table, const QList<TResultRecord>& ranked, const TResultRecord& current)
{
    if (!table)
        return -1;
    if (table->columnCount() < ResultColumns)
        table->setColumnCount(ResultColumns);
    table->setRowCount(static_cast<int>(ranked.size()) + 1);
    setCellText(table, HeaderRow, NameColumn, LoadString(StringId::NameHeading));
    setCellText(table, HeaderRow, TimeColumn, LoadString(StringId::TimeHeading));
    setCellText(table, HeaderRow, ErrorsColumn, LoadString(StringId::ErrorsHeading));

    const QString currentName = storedName(current.PlayerName);
    int highlighted = -1;
    for (qsizetype i = 0; i < ranked.size(); ++i) {
        const TResultRecord& record = ranked[i];
        const int row = static_cast<int>(i) + 1;
        setCellText(table, row, RankColumn, QString::number(row));
        setCellText(table, row, NameColumn, record.PlayerName);
        setCellText(table, row, TimeColumn, formatMinutesSeconds(record.Time));
        setCellText(table, row, ErrorsColumn, QString::number(record.Errors));
        if (record.PlayerName == currentName && record.Time == current.Time &&
            record.Errors == current.Errors)
            highlighted = row; // the last matching row wins
    }
    if (highlighted > 0) {
        table->clearSelection();
        table->setRangeSelected(
            QTableWidgetSelectionRange(highlighted, NameColumn, highlighted, table->columnCount() - 1), true);
    }
    return highlighted;
}

void blankResultRows(QTableWidget* table)
{
    if (!table)
        return;
    const int columns = std::min(table->columnCount(), ResultColumns);
    for (int row = HeaderRow + 1; row < table->rowCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            if (QTableWidgetItem* item = table->item(row, column))
                item->setText(QString());
        }
    }
}

QString resultsFileName()
{
    return workingFile(LoadString(StringId::ResultsFile));
}

QString temporaryResultsFileName()
{
    const QString name = LoadString(StringId::ResultsFile);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    return base + QLatin1String(TemporaryExtension);
}

void AppendResult(const TResultRecord& record)
{
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
            throwFileError(file, errno);
        file.close();
        whole += bytes;
        replaceResultsFile(file.fileName(), whole);
        removeLeftoverCopies(file.fileName());
        return;
    }
    if (aligned != size) {
        errno = 0;
        if (!file.resize(aligned))
            throwFileError(file, errno);
    }
    errno = 0;
    if (aligned > 0 && !file.seek(aligned))
        throwFileError(file, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        throwFileError(file, errno);
}

int LoadTestResults(qint32 testNumber, QTableWidget* table, const TResultRecord& current)
{
    QList<TResultRecord>& results = ResultsTable();
    results.clear();
    QList<TResultRecord> loaded = readTestRecords(testNumber);
    rankResults(loaded);
    results = std::move(loaded);
    if (results.isEmpty()) {
        blankResultRows(table);
        return 0;
    }
    showResults(table, results, current);
    return static_cast<int>(results.size());
}

void KeepBestResults()
{
    const QString path = resultsFileName();
    QList<QList<TResultRecord>> tests = readAllTests();

    QByteArray kept;
    QByteArray keptList;
    for (QList<TResultRecord>& records : tests) {
        rankResults(records);
        const qsizetype count = std::min(records.size(), KeptPerTest);
        for (qsizetype i = 0; i < count; ++i) {
            kept += records[i].encode();
            keptList += QByteArray::number(records[i].TestNumber) + LineEnd;
        }
    }
    // As after loading, the results table holds the last test's ranked results.
    if (!tests.isEmpty())
        ResultsTable() = tests.constLast();

    writeWholeFile(QString::fromLatin1(TrimListFileName), keptList);
    replaceResultsFile(path, kept);
    // A temporary file of an older trim is never read back; it is only removed.
    const QString stale = Files::find(temporaryResultsFileName());
    if (!stale.isEmpty())
        QFile::remove(stale);
    removeLeftoverCopies(path);
}

void ClearResults()
{
    const QString path = Files::find(LoadString(StringId::ResultsFile));
    if (!path.isEmpty())
        QFile::remove(path);
}

void setResultsCommitOverride(ResultsCommit commit)
{
    commitOverride() = std::move(commit);
}
