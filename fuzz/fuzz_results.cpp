// SPDX-License-Identifier: GPL-3.0-or-later
// The results file on a file written from the input: LoadTestResults into a results grid,
// KeepBestResults and AppendResult, against the 72-byte record layout and the ranking rule read
// here on their own: a test's records best first (fewer errors, then less time within the hour,
// file order among equals), the 20 best of every test kept, a torn tail cut before an append.
#include "FuzzSupport.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsTable.h"
#include "platform/AppError.h"
#include "results/ResultsFile.h"

#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr qsizetype RecordSize = 72;
constexpr qsizetype KeptPerTest = 20;
constexpr qint64 MsPerDay = 86400000;
constexpr qint64 MsPerHour = 3600000;

ResultsGrid* grid = nullptr;

// A record read byte by byte, without the code under test.
struct Raw
{
    QString name;
    QString testName;
    qint32 test = 0;
    quint64 timeBits = 0;
    qint32 errors = 0;

    bool operator==(const Raw&) const = default;
};

QString slotText(const char* slot)
{
    const int length = std::min(static_cast<unsigned char>(slot[0]), static_cast<unsigned char>(25));
    return QString::fromLatin1(slot + 1, length);
}

Raw rawAt(QByteArrayView file, qsizetype index)
{
    const char* p = file.data() + index * RecordSize;
    Raw r;
    r.name = slotText(p);
    r.testName = slotText(p + 26);
    r.test = qFromLittleEndian<qint32>(p + 52);
    r.timeBits = qFromLittleEndian<quint64>(p + 56);
    r.errors = qFromLittleEndian<qint32>(p + 64);
    return r;
}

Raw rawOf(const TResultRecord& record)
{
    Raw r;
    r.name = record.PlayerName;
    r.testName = record.TestName;
    r.test = record.TestNumber;
    r.timeBits = std::bit_cast<quint64>(record.Time);
    r.errors = record.Errors;
    return r;
}

// A record no finished test can have written (negative errors, a time that is no finite time of up
// to a day): kept in the file, never ranked.
bool damaged(const Raw& r)
{
    const double days = std::bit_cast<double>(r.timeBits);
    return r.errors < 0 || !std::isfinite(days) || days < 0 || days > 1.0;
}

// Errors first, then the time within the hour in whole milliseconds.
qint64 rankKey(const Raw& r)
{
    const double days = std::bit_cast<double>(r.timeBits);
    qint64 inHour = 0;
    if (std::isfinite(days)) {
        const double fraction = std::fabs(days - std::trunc(days));
        inHour = std::llround(fraction * MsPerDay) % MsPerDay % MsPerHour;
    }
    return (static_cast<qint64>(r.errors) << 32) | inHour;
}

std::vector<Raw> ranked(std::vector<Raw> records)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const Raw& a, const Raw& b) { return rankKey(a) < rankKey(b); });
    return records;
}

void checkLoad(QByteArrayView file, qint32 test, const TResultRecord& current)
{
    const int rowsBefore = grid->rowCount();
    int count = -1;
    try {
        count = LoadTestResults(test, grid, current);
    } catch (const AppError&) {
        Fuzz::check(false, "a results file is refused");
        return;
    }
    Fuzz::check(cutRecordBytes(resultsFileName()) == file.size() % RecordSize,
                "a cut last record is measured otherwise");
    std::vector<Raw> expected;
    for (qsizetype i = 0; i < file.size() / RecordSize; ++i) {
        if (rawAt(file, i).test == test && !damaged(rawAt(file, i)))
            expected.push_back(rawAt(file, i));
    }
    expected = ranked(std::move(expected));
    Fuzz::check(count == static_cast<int>(expected.size()), "LoadTestResults counts other records");
    Fuzz::check(ResultsTable().size() == count, "the results table holds another count");
    for (int i = 0; i < count; ++i)
        Fuzz::check(rawOf(ResultsTable()[i]) == expected[static_cast<size_t>(i)],
                    "LoadTestResults ranks differently");
    Fuzz::check(grid->rowCount() == (count > 0 ? count + 1 : rowsBefore), "the grid has another row count");
    for (int i = 0; i < count; ++i) {
        Fuzz::check(grid->cellText(i + 1, 1) == expected[static_cast<size_t>(i)].name,
                    "the grid shows another name");
    }
}

void checkTrim(QByteArrayView file)
{
    KeepBestResults();
    std::vector<qint32> order;
    std::vector<std::vector<Raw>> tests;
    for (qsizetype i = 0; i < file.size() / RecordSize; ++i) {
        const Raw r = rawAt(file, i);
        const auto at = std::find(order.begin(), order.end(), r.test);
        if (at == order.end()) {
            order.push_back(r.test);
            tests.emplace_back();
            tests.back().push_back(r);
        } else {
            tests[static_cast<size_t>(at - order.begin())].push_back(r);
        }
    }
    std::vector<Raw> kept;
    QByteArray list;
    for (std::vector<Raw>& records : tests) {
        // each test's 20 best sound records, then its damaged ones in file order
        std::vector<Raw> sound;
        std::vector<Raw> keptOfTest;
        for (const Raw& r : records)
            (damaged(r) ? keptOfTest : sound).push_back(r);
        sound = ranked(std::move(sound));
        if (sound.size() > static_cast<size_t>(KeptPerTest))
            sound.resize(static_cast<size_t>(KeptPerTest));
        keptOfTest.insert(keptOfTest.begin(), sound.begin(), sound.end());
        for (const Raw& r : keptOfTest) {
            kept.push_back(r);
            list += QByteArray::number(r.test) + "\r\n";
        }
    }
    const QByteArray after = Fuzz::readFile(resultsFileName());
    Fuzz::check(after.size() == static_cast<qsizetype>(kept.size()) * RecordSize,
                "the trim keeps another number of records");
    for (size_t i = 0; i < kept.size(); ++i)
        Fuzz::check(rawAt(after, static_cast<qsizetype>(i)) == kept[i], "the trim keeps other records");
    Fuzz::check(Fuzz::readFile(QString::fromLatin1(TrimListFileName)) == list, "TMP.Dat lists other tests");
}

void checkAppend(QByteArrayView file, const TResultRecord& record)
{
    Fuzz::writeFile(resultsFileName(), file);
    AppendResult(record);
    const QByteArray after = Fuzz::readFile(resultsFileName());
    const qsizetype kept = file.size() - file.size() % RecordSize;
    Fuzz::check(after.size() == kept + RecordSize, "an append leaves a torn or lost record");
    Fuzz::check(after.first(kept) == file.first(kept), "an append changes earlier records");
    Fuzz::check(rawAt(after, kept / RecordSize) == rawOf(record), "the appended record reads back otherwise");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::initialise(argc, argv);
    grid = new ResultsGrid;
    grid->setRowCount(2);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView file = Fuzz::bytes(data, size);
    // The first record (when there is one) is the test loaded and the record appended.
    TResultRecord first;
    if (file.size() >= RecordSize)
        first = TResultRecord::decode(file);
    Fuzz::writeFile(resultsFileName(), file);
    checkLoad(file, first.TestNumber, first);
    // a trim keeps the whole records, and drops a cut last one
    checkTrim(file);
    checkAppend(file, first);
    return 0;
}
