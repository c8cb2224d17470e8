// SPDX-License-Identifier: GPL-3.0-or-later
// The results file: record layout, appending, loading and ranking, trimming, failures.
#include "common/TempWorkDir.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsTable.h"
#include "platform/AppError.h"
#include "platform/FileLock.h"
#include "platform/MessageBoxes.h"
#include "results/CoachExport.h"
#include "results/NameSlot.h"
#include "results/ResultsFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <map>

namespace {

constexpr double MsPerDay = 86400000.0;
constexpr int RecordSize = 72;

double seconds(double s)
{
    return s * 1000.0 / MsPerDay;
}

TResultRecord result(const QString& name, qint32 test, double time, qint32 errors,
                     const QString& testName = {})
{
    TResultRecord r;
    r.PlayerName = name;
    r.TestName = testName.isEmpty() ? QStringLiteral("Test %1").arg(test) : testName;
    r.TestNumber = test;
    r.Time = time;
    r.Errors = errors;
    return r;
}

// The record layout read back byte by byte, independently of the code under test.
struct RawRecord
{
    QByteArray name;
    QByteArray testName;
    qint32 testNumber = 0;
    double time = 0;
    qint32 errors = 0;
    bool unusedBytesZero = true;
};

quint64 littleEndian(const QByteArray& bytes, int offset, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<uchar>(bytes[offset + i]);
    return value;
}

RawRecord rawDecode(const QByteArray& bytes, int at = 0)
{
    const QByteArray b = bytes.mid(at, RecordSize);
    RawRecord r;
    const auto slot = [&](int offset, QByteArray& text) {
        const int length = static_cast<uchar>(b[offset]);
        text = b.mid(offset + 1, length);
        for (int i = offset + 1 + length; i < offset + 26; ++i)
            r.unusedBytesZero = r.unusedBytesZero && b[i] == 0;
    };
    slot(0, r.name);
    slot(26, r.testName);
    r.testNumber = static_cast<qint32>(littleEndian(b, 52, 4));
    const quint64 bits = littleEndian(b, 56, 8);
    std::memcpy(&r.time, &bits, sizeof bits);
    r.errors = static_cast<qint32>(littleEndian(b, 64, 4));
    r.unusedBytesZero = r.unusedBytesZero && littleEndian(b, 68, 4) == 0;
    return r;
}

QByteArray fileBytes(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AppError& e) {
        return e.messageTemplate();
    }
    return QStringLiteral("no error");
}

// Ranking key worked out here: errors, then milliseconds within the hour.
std::pair<qint32, qint64> rankKey(const RawRecord& r)
{
    const qint64 ms = std::llround((r.time - std::floor(r.time)) * MsPerDay) % 86400000;
    return {r.errors, ms % 3600000};
}

// A grid as the dialogs make it, with headings "h0".."h3" and, below, `shown` results "r1".."rN".
void fillGrid(ResultsGrid& grid, int rows, int shown = 0)
{
    QList<TResultRecord> records;
    for (int r = 1; r <= shown; ++r)
        records << result(QStringLiteral("r%1").arg(r), 1, seconds(r), 0);
    grid.resultsModel()->showRecords(records);
    grid.setRowCount(rows);
    for (int c = 0; c < ResultsModel::Columns; ++c)
        grid.resultsModel()->setHeading(c, QStringLiteral("h%1").arg(c));
}

QString cell(const ResultsGrid& grid, int row, int column)
{
    return grid.cellText(row, column);
}

} // namespace

class TestResultsFile : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        setResultsCommitOverride({});
        setResultsLockWait({});
    }

    void recordLayout();
    void decodeClampsAndIgnoresTail();
    void appendCreatesAndAppends();
    void appendAcrossPageBoundaries();

    void ranking_data();
    void ranking();
    void rankingKeepsFileOrderAmongEquals();
    void rankingMatchesPairwiseOrder();
    void gridShowsRankedResults();

    void loadWithoutFileCreatesItAndKeepsHeader();
    void loadWithoutRecordsBlanksRows();
    void loadSelectsByNumberAcrossCatalogues();
    void longNameStoredCutAndHighlighted();
    void namesOfEveryAlphabetReadBackExactly();
    void loadManyResults();
    void tornRecord();
    void damagedRecordsAreNotRanked();

    void trimKeepsBestGroupedByTest();
    void trimFailureLeavesResultsFile();
    void trimIgnoresStaleTemporaryFile();
    void trimManyTests();

    void writeFailures();
    void clearAndLetterCase();
    void changesWaitForAnotherCopy();
};

void TestResultsFile::recordLayout()
{
    const TResultRecord record =
        result(QStringLiteral("Anna"), -7, seconds(83.25), 300000, QStringLiteral("Walk"));
    const QByteArray bytes = record.encode();
    QCOMPARE(bytes.size(), RecordSize);
    const RawRecord raw = rawDecode(bytes);
    QCOMPARE(raw.name, QByteArray("Anna"));
    QCOMPARE(raw.testName, QByteArray("Walk"));
    QCOMPARE(raw.testNumber, -7);
    QCOMPARE(raw.time, record.Time);
    QCOMPARE(raw.errors, 300000);
    QVERIFY(raw.unusedBytesZero);

    // a letter beyond Latin-1 shows as a look-alike where other readers look, and a name of 25
    // fills its slot exactly
    const QString full(25, QLatin1Char('x'));
    const RawRecord edge = rawDecode(result(full, 1, 0, 0, QStringLiteral("\u0436\u00e9")).encode());
    QCOMPARE(edge.name, full.toLatin1());
    QCOMPARE(edge.testName, QByteArray("_\xe9"));
}

void TestResultsFile::decodeClampsAndIgnoresTail()
{
    QByteArray bytes(RecordSize, '\x5a');
    bytes[0] = 3;
    bytes[26] = static_cast<char>(200);
    std::memset(bytes.data() + 52, 0, 20);
    bytes[52] = 0x01;
    bytes[53] = 0x02; // 0x0201
    bytes[64] = static_cast<char>(0xff);
    bytes[65] = static_cast<char>(0xff);
    bytes[66] = static_cast<char>(0xff);
    bytes[67] = static_cast<char>(0xff); // -1
    bytes[68] = 0x33;                    // padding is ignored
    const TResultRecord r = TResultRecord::decode(bytes);
    QCOMPARE(r.PlayerName, QStringLiteral("ZZZ"));
    QCOMPARE(r.TestName, QString(25, QLatin1Char('Z')));
    QCOMPARE(r.TestNumber, 0x0201);
    QCOMPARE(r.Time, 0.0);
    QCOMPARE(r.Errors, -1);
    QCOMPARE(errorOf([&] { TResultRecord::decode(bytes.left(71)); }),
             QStringLiteral("Read beyond end of file"));
}

void TestResultsFile::appendCreatesAndAppends()
{
    TempWorkDir dir;
    AppendResult(result(QStringLiteral("A"), 3, seconds(10), 1));
    AppendResult(result(QStringLiteral("B"), 4, seconds(20), 2));
    const QByteArray bytes = fileBytes(QStringLiteral("Results.dat"));
    QCOMPARE(bytes.size(), 2 * RecordSize);
    QCOMPARE(rawDecode(bytes, 0).name, QByteArray("A"));
    const RawRecord second = rawDecode(bytes, RecordSize);
    QCOMPARE(second.name, QByteArray("B"));
    QCOMPARE(second.testNumber, 4);
    QCOMPARE(second.time, seconds(20));
    QCOMPARE(second.errors, 2);
}

// A record that would cross a 4 096-byte boundary is written through a new copy of the file; the
// result must be the same bytes as an append in place, a torn tail cut off, leftovers of killed
// copies removed.
void TestResultsFile::appendAcrossPageBoundaries()
{
    TempWorkDir dir;
    QByteArray expected;
    for (int i = 0; i < 56; ++i)
        expected += result(QStringLiteral("P%1").arg(i), 1 + i % 3, seconds(i), i % 4).encode();
    QVERIFY(dir.write(QStringLiteral("Results.dat"), expected + QByteArray(30, '\x7f')));
    QVERIFY(dir.write(QStringLiteral("Results.dat.Xy12Zw"), "left by a killed append"));
    // 56 records end at 4 032: the next one crosses the first page boundary
    for (int i = 56; i < 200; ++i) {
        const TResultRecord r = result(QStringLiteral("P%1").arg(i), 1 + i % 3, seconds(i), i % 4);
        AppendResult(r);
        expected += r.encode();
    }
    QCOMPARE(fileBytes(QStringLiteral("Results.dat")), expected);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Results.dat.Xy12Zw"))));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    QCOMPARE(LoadRankedResults(2), 67); // results 1, 4, ..., 199
}

void TestResultsFile::ranking_data()
{
    QTest::addColumn<int>("errorsA");
    QTest::addColumn<double>("timeA");
    QTest::addColumn<int>("errorsB");
    QTest::addColumn<double>("timeB");
    QTest::addColumn<bool>("aAfterB");
    QTest::addColumn<bool>("bAfterA");
    QTest::newRow("more errors, faster") << 2 << seconds(10) << 1 << seconds(50) << true << false;
    QTest::newRow("equal errors, slower") << 1 << seconds(61) << 1 << seconds(60) << true << false;
    QTest::newRow("a millisecond decides") << 0 << seconds(5.002) << 0 << seconds(5.001) << true << false;
    QTest::newRow("hours do not count") << 0 << seconds(3720) << 0 << seconds(120) << false << false;
    QTest::newRow("1 h 2 min before 3 min") << 0 << seconds(3720) << 0 << seconds(180) << false << true;
    QTest::newRow("whole days do not count") << 0 << 2.0 + seconds(30) << 0 << seconds(31) << false << true;
    QTest::newRow("equal") << 3 << seconds(7) << 3 << seconds(7) << false << false;
}

void TestResultsFile::ranking()
{
    QFETCH(int, errorsA);
    QFETCH(double, timeA);
    QFETCH(int, errorsB);
    QFETCH(double, timeB);
    const TResultRecord a = result(QStringLiteral("a"), 1, timeA, errorsA);
    const TResultRecord b = result(QStringLiteral("b"), 1, timeB, errorsB);
    QTEST(ranksAfter(a, b), "aAfterB");
    QTEST(ranksAfter(b, a), "bAfterA");
}

void TestResultsFile::rankingKeepsFileOrderAmongEquals()
{
    QList<TResultRecord> records{
        result(QStringLiteral("slow"), 1, seconds(90), 0),
        result(QStringLiteral("tie1"), 1, seconds(120), 0),
        result(QStringLiteral("err"), 1, seconds(1), 1),
        result(QStringLiteral("tie2"), 1, seconds(3720), 0),
        result(QStringLiteral("fast"), 1, seconds(30), 0),
        result(QStringLiteral("tie3"), 1, seconds(120), 0),
    };
    rankResults(records);
    QStringList names;
    for (const TResultRecord& r : records)
        names << r.PlayerName;
    QCOMPARE(names, QStringList({QStringLiteral("fast"), QStringLiteral("slow"), QStringLiteral("tie1"),
                                 QStringLiteral("tie2"), QStringLiteral("tie3"), QStringLiteral("err")}));
}

// Any error counts a file can hold (negative ones too) and any times, in batches small and large:
// the ranking must be the stable order of ranksAfter.
void TestResultsFile::rankingMatchesPairwiseOrder()
{
    QRandomGenerator random(20261207);
    const qint32 errorChoices[] = {
        0, 1, 2, 3, -1, -2, 1000, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    for (const int count : {2, 3, 17, 256, 5000}) {
        QList<TResultRecord> records;
        for (int i = 0; i < count; ++i) {
            const qint32 errors = errorChoices[random.bounded(static_cast<int>(std::size(errorChoices)))];
            // few distinct times, so that many records tie; some beyond an hour, some before 1899
            const double time = (random.bounded(2) ? -1.0 : 1.0) *
                                (random.bounded(3) * 1.5 + seconds(random.bounded(40) * 97.5));
            records << result(QStringLiteral("n%1").arg(i), 1, time, errors);
        }
        QList<TResultRecord> expected = records;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const TResultRecord& a, const TResultRecord& b) { return ranksAfter(b, a); });
        rankResults(records);
        QStringList got;
        QStringList want;
        for (int i = 0; i < count; ++i) {
            got << records[i].PlayerName;
            want << expected[i].PlayerName;
        }
        QCOMPARE(got, want);
    }
}

void TestResultsFile::gridShowsRankedResults()
{
    ResultsGrid table;
    fillGrid(table, 9, 8);
    const QList<TResultRecord> ranked{
        result(QStringLiteral("Ann"), 1, seconds(83), 0),
        result(QStringLiteral("Bo"), 1, seconds(3720), 2),
        result(QStringLiteral("Ann"), 1, seconds(83), 5),
        result(QStringLiteral("Ann"), 1, seconds(83), 5),
    };
    // the current result matches rows 3 and 4; the last one stays selected
    const int row = showResults(&table, ranked, ranked[2]);
    QCOMPARE(row, 4);
    QCOMPARE(table.rowCount(), 5);
    QCOMPARE(cell(table, 0, 0), QStringLiteral("h0"));
    QCOMPARE(cell(table, 0, 1), QStringLiteral("Name of Peoples"));
    QCOMPARE(cell(table, 0, 2), QStringLiteral("Time "));
    QCOMPARE(cell(table, 0, 3), QStringLiteral("Errors "));
    const QStringList expected{QStringLiteral("1|Ann|1:23|0"), QStringLiteral("2|Bo|2:00|2"),
                               QStringLiteral("3|Ann|1:23|5"), QStringLiteral("4|Ann|1:23|5")};
    for (int r = 1; r <= 4; ++r) {
        QStringList cells;
        for (int c = 0; c < 4; ++c) {
            cells << cell(table, r, c);
            QVERIFY(!(table.model()->index(r - 1, c).flags() & Qt::ItemIsEditable));
        }
        QCOMPARE(cells.join(QLatin1Char('|')), expected[r - 1]);
    }
    QCOMPARE(table.highlightedRow(), 4);
    QModelIndexList selected = table.selectionModel()->selectedIndexes();
    std::sort(selected.begin(), selected.end());
    QCOMPARE(selected.size(), 3);
    QCOMPARE(selected.constFirst(), table.model()->index(3, 1));
    QCOMPARE(selected.constLast(), table.model()->index(3, 3));

    // a time that differs by a millisecond matches no row: nothing is selected
    TResultRecord other = ranked[0];
    other.Time += seconds(0.001);
    QCOMPARE(showResults(&table, ranked, other), -1);
    QCOMPARE(table.highlightedRow(), -1);
}

void TestResultsFile::loadWithoutFileCreatesItAndKeepsHeader()
{
    TempWorkDir dir;
    ResultsGrid table;
    fillGrid(table, 3);
    QCOMPARE(LoadTestResults(5, &table, {}), 0);
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("Results.dat"))));
    QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("Results.dat"))).size(), 0);
    QCOMPARE(table.rowCount(), 3);
    for (int c = 0; c < 4; ++c)
        QCOMPARE(cell(table, 0, c), QStringLiteral("h%1").arg(c));
}

void TestResultsFile::loadWithoutRecordsBlanksRows()
{
    TempWorkDir dir;
    AppendResult(result(QStringLiteral("slow"), 1, seconds(95), 2));
    AppendResult(result(QStringLiteral("other test"), 2, seconds(5), 0));
    AppendResult(result(QStringLiteral("fast"), 1, seconds(65), 2));
    AppendResult(result(QStringLiteral("clean"), 1, seconds(200), 0));
    ResultsGrid table;
    QCOMPARE(LoadTestResults(1, &table, {}), 3);
    QCOMPARE(table.rowCount(), 4);
    QCOMPARE(cell(table, 1, 1), QStringLiteral("clean"));
    QCOMPARE(cell(table, 2, 1), QStringLiteral("fast"));
    QCOMPARE(cell(table, 3, 1), QStringLiteral("slow"));
    QCOMPARE(ResultsTable().size(), 3);

    QCOMPARE(LoadTestResults(3, &table, {}), 0);
    QVERIFY(ResultsTable().isEmpty());
    QCOMPARE(table.rowCount(), 4);
    QCOMPARE(cell(table, 0, 1), QStringLiteral("Name of Peoples"));
    for (int r = 1; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            QCOMPARE(cell(table, r, c), QString());
}

void TestResultsFile::loadSelectsByNumberAcrossCatalogues()
{
    TempWorkDir dir;
    AppendResult(result(QStringLiteral("desc"), 4, seconds(10), 0, QStringLiteral("Descriptions 4")));
    AppendResult(result(QStringLiteral("map"), 4, seconds(9), 0, QStringLiteral("Map symbols 4")));
    AppendResult(result(QStringLiteral("zero"), 0, seconds(9), 0));
    ResultsGrid table;
    QCOMPARE(LoadTestResults(4, &table, {}), 2);
    QCOMPARE(cell(table, 1, 1), QStringLiteral("map"));
    QCOMPARE(cell(table, 2, 1), QStringLiteral("desc"));
}

void TestResultsFile::longNameStoredCutAndHighlighted()
{
    TempWorkDir dir;
    const QString longName = QStringLiteral("Maximiliane Sophie Lindqvist"); // 28 characters
    const QString thirty = longName + QStringLiteral("on");
    QCOMPARE(thirty.size(), 30);
    AppendResult(result(QStringLiteral("first"), 9, seconds(50), 0));
    const TResultRecord current = result(thirty, 9, seconds(3720.5), 1);
    AppendResult(current);
    QCOMPARE(rawDecode(fileBytes(QStringLiteral("Results.dat")), RecordSize).name,
             thirty.left(25).toLatin1());

    ResultsGrid table;
    QCOMPARE(LoadTestResults(9, &table, current), 2);
    QCOMPARE(cell(table, 2, 1), thirty.left(25));
    QCOMPARE(cell(table, 2, 2), QStringLiteral("2:00"));
    QCOMPARE(table.highlightedRow(), 2);
}

// A name with letters beyond Latin-1 reads back exactly, also after a trim; readers that know only
// the 72-byte records see a plain look-alike, never a '?'.
void TestResultsFile::namesOfEveryAlphabetReadBackExactly()
{
    TempWorkDir dir;
    const QStringList names = {QStringLiteral("Dvořák"), QStringLiteral("Łukasz"),
                               QStringLiteral("Łukasz Wiśniewski"), QStringLiteral("Иван"),
                               QStringLiteral("Zoë Ørsted")};
    for (int i = 0; i < names.size(); ++i)
        AppendResult(result(names[i], 5, seconds(10 + i), 0, QStringLiteral("l'œuvre")));
    const QByteArray bytes = fileBytes(QStringLiteral("Results.dat"));
    QCOMPARE(bytes.size(), names.size() * RecordSize);
    QCOMPARE(rawDecode(bytes, 0).name, QByteArray("Dvor\xe1k"));
    QCOMPARE(rawDecode(bytes, RecordSize).name, QByteArray("Lukasz"));
    QCOMPARE(rawDecode(bytes, 0).testName, QByteArray("l'ouvre"));
    for (int i = 0; i < names.size(); ++i)
        QVERIFY(!rawDecode(bytes, i * RecordSize).name.contains('?'));

    // player and test names as they are read back, "player / test"
    const auto stored = [] {
        QStringList found;
        LoadRankedResults(5);
        for (const TResultRecord& r : std::as_const(ResultsTable()))
            found << r.PlayerName + QStringLiteral(" / ") + r.TestName;
        return found;
    };
    QStringList expected;
    for (const QString& name : names)
        expected << name + QStringLiteral(" / l'œuvre");
    QCOMPARE(stored(), expected);
    KeepBestResults();
    QCOMPARE(stored(), expected);

    // a name whose letters take more room than the slot has is not kept exactly: the winner
    // dialog refuses it
    const QString greek = QStringLiteral("Νικόλαος Παπαδόπουλος");
    QVERIFY(!NameSlot::fits(greek));
    QVERIFY(NameSlot::charactersBeyondLatin1(greek).contains(QStringLiteral("Ν")));
    QVERIFY(!NameSlot::encode(greek).contains('?'));
    for (const QString& name : names)
        QVERIFY2(NameSlot::fits(name), qPrintable(name));

    // unused bytes that an older program left with something else in them are ignored
    QByteArray slot("\x03"
                    "Ann"
                    "\x7f\x01\xc5"
                    "Zzzzzzzzzzzzzzzzzzz");
    QCOMPARE(slot.size(), NameSlot::SlotSize);
    QCOMPARE(NameSlot::decode(slot), QStringLiteral("Ann"));
}

void TestResultsFile::loadManyResults()
{
    TempWorkDir dir;
    constexpr int Count = 5000;
    QByteArray bytes;
    for (int i = 0; i < Count; ++i) {
        bytes += result(QStringLiteral("p%1").arg(i), i % 2 ? 8 : 7, seconds((i * 7919) % 3000), (i * 31) % 6)
                     .encode();
        bytes += result(QStringLiteral("q%1").arg(i), 8, seconds(1), 0).encode();
    }
    QVERIFY(dir.write(QStringLiteral("Results.dat"), bytes));
    ResultsGrid table;
    QCOMPARE(LoadTestResults(7, &table, {}), Count / 2);
    QCOMPARE(LoadTestResults(8, &table, {}), Count + Count / 2);
    QCOMPARE(table.rowCount(), Count + Count / 2 + 1);
    QCOMPARE(ResultsTable().size(), Count + Count / 2);
    for (qsizetype i = 1; i < ResultsTable().size(); ++i)
        QVERIFY(!ranksAfter(ResultsTable()[i - 1], ResultsTable()[i]));
    // the q records tie: they keep file order
    QCOMPARE(cell(table, 1, 1), QStringLiteral("q0"));
    QCOMPARE(cell(table, Count, 1), QStringLiteral("q%1").arg(Count - 1));
    QCOMPARE(cell(table, Count + Count / 2, 0), QString::number(Count + Count / 2));
}

// A results file that ends in a cut record (a copy cut short, a write of an older version
// stopped): its whole records are shown, trimmed and exported, the cut is said once, and the file
// stays as it is until the next write, which keeps every whole record.
void TestResultsFile::tornRecord()
{
    TempWorkDir dir;
    QStringList messages;
    MessageBoxes::setHandler([&](MessageBoxes::Kind, const QString& text) { messages << text; });
    const auto restore = qScopeGuard([] { MessageBoxes::setHandler({}); });
    // 55 whole records and 40 bytes of one more: 4 000 bytes
    QByteArray whole;
    for (int i = 0; i < 55; ++i)
        whole += result(QStringLiteral("w%1").arg(i), 1 + i % 2, seconds(100 - i), 0).encode();
    const QByteArray cut = whole + result(QStringLiteral("torn"), 1, 0, 0).encode().left(40);
    QCOMPARE(cut.size(), 4000);
    const QString path = dir.filePath(QStringLiteral("Results.dat"));
    QVERIFY(dir.write(QStringLiteral("Results.dat"), cut));

    ResultsGrid table;
    fillGrid(table, 2, 1);
    QCOMPARE(ShowTestResults(1, &table, {}), 28);
    QCOMPARE(cell(table, 1, 1), QStringLiteral("w54")); // the fastest of test 1
    QCOMPARE(ShowTestResults(2, &table, {}), 27);
    QCOMPARE(ShowTestResults(1, &table, {}), 28);
    // said once, naming the file
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().contains(QStringLiteral("40 bytes")) && messages.first().contains(path),
             qPrintable(messages.first()));
    QCOMPARE(CountResultsBeyondBest(), 8 + 7);
    int visited = 0;
    QCOMPARE(forEachStoredResult(path, [&](const TResultRecord&) { ++visited; }), qint64(40));
    QCOMPARE(visited, 55);
    int damaged = 0;
    qint64 cutBytes = 0;
    QCOMPARE(CoachExport::writeResults(path, dir.filePath(QStringLiteral("out.csv")), &damaged, &cutBytes),
             55);
    QCOMPARE(cutBytes, qint64(40));
    QCOMPARE(fileBytes(path), cut); // reading changes nothing

    // the next append keeps the whole records and drops the cut one
    AppendResult(result(QStringLiteral("new"), 1, seconds(5), 0));
    QCOMPARE(fileBytes(path), whole + result(QStringLiteral("new"), 1, seconds(5), 0).encode());
    // so does a trim
    QVERIFY(dir.write(QStringLiteral("Results.dat"), cut));
    KeepBestResults();
    QCOMPARE(fileBytes(path).size(), 40 * RecordSize);
    QCOMPARE(LoadTestResults(1, &table, {}), 20);
    QCOMPARE(cell(table, 1, 1), QStringLiteral("w54"));
    QCOMPARE(messages.size(), 1);
}

void TestResultsFile::trimKeepsBestGroupedByTest()
{
    TempWorkDir dir;
    // test 12 with 25 results, test 0 with 22, test 3 with 3, interleaved; 12 comes first in the file
    std::map<qint32, QList<RawRecord>> written;
    QByteArray bytes;
    const auto add = [&](const TResultRecord& r) {
        const QByteArray b = r.encode();
        written[r.TestNumber].append(rawDecode(b));
        bytes += b;
    };
    for (int i = 0; i < 25; ++i) {
        add(result(QStringLiteral("t12-%1").arg(i), 12, seconds((i * 7) % 25 + 1), i % 5));
        if (i < 22)
            add(result(QStringLiteral("t0-%1").arg(i), 0, seconds(3600 * (i % 2) + 40 - i), i % 3));
        if (i < 3)
            add(result(QStringLiteral("t3-%1").arg(i), 3, seconds(9 - i), 0));
    }
    QVERIFY(dir.write(QStringLiteral("Results.dat"), bytes));
    QCOMPARE(KeepBestResults(), 5 + 2);

    const QByteArray trimmed = fileBytes(QStringLiteral("Results.dat"));
    QCOMPARE(trimmed.size(), (20 + 20 + 3) * RecordSize);
    QByteArray expectedList;
    qsizetype at = 0;
    for (const qint32 test : {12, 0, 3}) {
        QList<RawRecord> best = written[test];
        std::stable_sort(best.begin(), best.end(),
                         [](const RawRecord& a, const RawRecord& b) { return rankKey(a) < rankKey(b); });
        best = best.mid(0, 20);
        for (const RawRecord& want : std::as_const(best)) {
            const RawRecord got = rawDecode(trimmed, static_cast<int>(at));
            QCOMPARE(got.testNumber, test);
            QCOMPARE(got.name, want.name);
            QCOMPARE(got.time, want.time);
            QCOMPARE(got.errors, want.errors);
            at += RecordSize;
            expectedList += QByteArray::number(test) + "\r\n";
        }
    }
    QCOMPARE(fileBytes(QStringLiteral("TMP.Dat")), expectedList);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Results.tmp"))));

    // a second trim changes nothing
    KeepBestResults();
    QCOMPARE(fileBytes(QStringLiteral("Results.dat")), trimmed);
}

void TestResultsFile::trimFailureLeavesResultsFile()
{
    TempWorkDir dir;
    for (int i = 0; i < 25; ++i)
        AppendResult(result(QStringLiteral("p%1").arg(i), 1, seconds(100 - i), 0));
    const QByteArray before = fileBytes(QStringLiteral("Results.dat"));

    // the final replace fails
    bool committed = false;
    setResultsCommitOverride([&](QSaveFile&) {
        committed = true;
        errno = ENOSPC;
        return false;
    });
    QCOMPARE(errorOf([] { KeepBestResults(); }), QStringLiteral("Disk full"));
    QVERIFY(committed);
    QCOMPARE(fileBytes(QStringLiteral("Results.dat")), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral("Results")),
             QStringList{QStringLiteral("Results.dat")});
    setResultsCommitOverride({});

    // "TMP.Dat" cannot be written
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("TMP.Dat"))));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("TMP.Dat")));
    QVERIFY_THROWS_EXCEPTION(AppError, KeepBestResults());
    QCOMPARE(fileBytes(QStringLiteral("Results.dat")), before);

    QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("TMP.Dat")));
    KeepBestResults();
    QCOMPARE(fileBytes(QStringLiteral("Results.dat")).size(), 20 * RecordSize);
}

void TestResultsFile::trimIgnoresStaleTemporaryFile()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("Results.tmp"),
                      result(QStringLiteral("stale"), 1, seconds(1), 0).encode() +
                          result(QStringLiteral("stale"), 2, seconds(1), 0).encode()));
    AppendResult(result(QStringLiteral("real"), 1, seconds(30), 0));
    KeepBestResults();
    const QByteArray trimmed = fileBytes(QStringLiteral("Results.dat"));
    QCOMPARE(trimmed.size(), RecordSize);
    QCOMPARE(rawDecode(trimmed).name, QByteArray("real"));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Results.tmp"))));
    // new files of killed trims go too; other files beside the results file stay
    QVERIFY(dir.write(QStringLiteral("Results.dat.Ab12Cd"), "partial"));
    QVERIFY(dir.write(QStringLiteral("Results.dat.old"), "the user's"));
    KeepBestResults();
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("Results.dat.Ab12Cd"))));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("Results.dat.old"))));
}

void TestResultsFile::trimManyTests()
{
    TempWorkDir dir;
    constexpr int Records = 100000;
    constexpr int Tests = 150;
    QRandomGenerator random(20240611);
    std::map<qint32, QList<RawRecord>> written;
    QList<qint32> firstSeen;
    QByteArray bytes;
    bytes.reserve(Records * RecordSize);
    for (int i = 0; i < Records; ++i) {
        // test numbers spread unevenly, some negative; times in whole milliseconds up to two hours
        const qint32 test = static_cast<qint32>(random.bounded(Tests)) * 37 - 1000;
        const double time = static_cast<double>(random.bounded(7200000)) / MsPerDay;
        const QByteArray b = result(QStringLiteral("n%1").arg(i), test, time, random.bounded(4)).encode();
        if (!written.count(test))
            firstSeen.append(test);
        written[test].append(rawDecode(b));
        bytes += b;
    }
    QCOMPARE(firstSeen.size(), Tests);
    QVERIFY(dir.write(QStringLiteral("Results.dat"), bytes));

    QElapsedTimer timer;
    timer.start();
    KeepBestResults();
    qInfo("trim of %d records over %d tests: %lld ms", Records, Tests, timer.elapsed());

    const QByteArray trimmed = fileBytes(QStringLiteral("Results.dat"));
    QCOMPARE(trimmed.size(), Tests * 20 * RecordSize);
    int at = 0;
    for (const qint32 test : std::as_const(firstSeen)) {
        QList<std::pair<qint32, qint64>> keys;
        for (const RawRecord& r : written[test])
            keys.append(rankKey(r));
        std::sort(keys.begin(), keys.end());
        for (int k = 0; k < 20; ++k, at += RecordSize) {
            const RawRecord got = rawDecode(trimmed, at);
            QCOMPARE(got.testNumber, test);
            QCOMPARE(rankKey(got), keys[k]);
        }
    }
}

void TestResultsFile::writeFailures()
{
    TempWorkDir dir;
    // a link to a device (the full disk of /dev/full) is never written to; a full disk itself is
    // the test of the full file systems
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("needs /dev/full");
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), dir.filePath(QStringLiteral("Results.dat"))));
    QCOMPARE(errorOf([] { AppendResult(result(QStringLiteral("x"), 1, 0, 0)); }),
             QStringLiteral("The name is a device, pipe or socket, not a file"));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("Results.dat"))));

    // a results file that cannot be opened
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Results.dat")));
    QVERIFY_THROWS_EXCEPTION(AppError, AppendResult(result(QStringLiteral("x"), 1, 0, 0)));
    QVERIFY_THROWS_EXCEPTION(AppError, LoadRankedResults(1));
}

void TestResultsFile::clearAndLetterCase()
{
    TempWorkDir dir;
    ClearResults(); // no file, no error
    QVERIFY(
        dir.write(QStringLiteral("rESULTS.DAT"), result(QStringLiteral("old"), 2, seconds(3), 0).encode()));
    AppendResult(result(QStringLiteral("new"), 2, seconds(2), 0));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rESULTS.DAT")});
    QCOMPARE(LoadRankedResults(2), 2);
    KeepBestResults();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             QStringList({QStringLiteral("rESULTS.DAT"), QStringLiteral("TMP.Dat")}));
    QCOMPARE(rawDecode(fileBytes(QStringLiteral("rESULTS.DAT"))).name, QByteArray("new"));
    ClearResults();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TMP.Dat")});
}

void TestResultsFile::damagedRecordsAreNotRanked()
{
    TempWorkDir dir;
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QList<TResultRecord> damaged = {
        result(QStringLiteral("negative"), 4, seconds(9), -3), result(QStringLiteral("nan"), 4, nan, 0),
        result(QStringLiteral("inf"), 4, inf, 0), result(QStringLiteral("huge"), 4, 1e300, 0),
        result(QStringLiteral("before"), 4, -seconds(1), 0)};
    QByteArray bytes;
    for (int i = 0; i < 25; ++i)
        bytes += result(QStringLiteral("r%1").arg(i), 4, seconds(60 - i), 1).encode();
    for (const TResultRecord& r : damaged)
        bytes += r.encode();
    QVERIFY(dir.write(QStringLiteral("Results.dat"), bytes));

    int skipped = -1;
    QCOMPARE(LoadRankedResults(4, &skipped), 25);
    QCOMPARE(skipped, 5);
    QCOMPARE(ResultsTable().first().PlayerName, QStringLiteral("r24"));

    // a trim keeps the 20 best and every damaged record
    KeepBestResults();
    const QByteArray trimmed = fileBytes(QStringLiteral("Results.dat"));
    QCOMPARE(trimmed.size(), 25 * RecordSize);
    QCOMPARE(trimmed.right(5 * RecordSize), bytes.right(5 * RecordSize));
    QCOMPARE(LoadRankedResults(4, &skipped), 20);
    QCOMPARE(skipped, 5);
}

// While another copy of the program holds the results file's lock, an append, a trim and a clear
// wait for it, then are refused with a message naming the file; the file stays as it was, and the
// next change after the other copy is done goes through.
void TestResultsFile::changesWaitForAnotherCopy()
{
    using namespace std::chrono_literals;
    TempWorkDir dir;
    AppendResult(result(QStringLiteral("kept"), 1, seconds(10), 0));
    const QByteArray before = fileBytes(QStringLiteral("Results.dat"));
    FileLock other(dir.filePath(resultsLockFileName()));
    QCOMPARE(other.acquire(0ms), FileLock::Outcome::Locked);
    setResultsLockWait(300ms);
    QElapsedTimer waited;
    waited.start();
    QCOMPARE(errorOf([] { AppendResult(result(QStringLiteral("new"), 1, seconds(5), 0)); }),
             QString::fromLatin1(Msg::ResultsInUse));
    QVERIFY(waited.elapsed() >= 300);
    QCOMPARE(errorOf([] { KeepBestResults(); }), QString::fromLatin1(Msg::ResultsInUse));
    QCOMPARE(errorOf([] { ClearResults(); }), QString::fromLatin1(Msg::ResultsInUse));
    try {
        AppendResult(result(QStringLiteral("new"), 1, seconds(5), 0));
    } catch (const AppError& error) {
        QCOMPARE(error.file(), dir.filePath(QStringLiteral("Results.dat")));
    }
    QCOMPARE(fileBytes(QStringLiteral("Results.dat")), before);
    other.release();
    AppendResult(result(QStringLiteral("new"), 1, seconds(5), 0));
    QCOMPARE(fileBytes(QStringLiteral("Results.dat")).size(), 2 * RecordSize);
}

QTEST_MAIN(TestResultsFile)
#include "tst_resultsfile.moc"
