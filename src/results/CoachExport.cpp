// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/CoachExport.h"

#include "platform/Files.h"
#include "results/AnswerStore.h"
#include "results/CsvFile.h"
#include "results/ResultsFile.h"
#include "results/XlsxFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <functional>

namespace {

using Type = ExportTable::Type;
constexpr double MsPerDay = 86400000.0;

// The kinds in the order of the rows, with the word the kind column writes.
constexpr struct
{
    SymbolKind kind;
    const char* word;
} Kinds[] = {
    {SymbolKind::Description, "description"}, {SymbolKind::MapSymbol, "map"}, {SymbolKind::Line, "line"}};

int orderOf(SymbolKind kind)
{
    const auto* found =
        std::find_if(std::begin(Kinds), std::end(Kinds), [kind](const auto& k) { return k.kind == kind; });
    return int(found - std::begin(Kinds));
}

QString wordOf(SymbolKind kind)
{
    const int order = orderOf(kind);
    return order < int(std::size(Kinds)) ? QString::fromLatin1(Kinds[order].word)
                                         : QString::number(toInt(kind));
}

// A column of an export and how a row's source gives its value; a column is one entry of its list.
template <typename Source> struct Field
{
    ExportTable::Column column;
    std::function<QVariant(const Source&)> value;
};

struct StatisticsSource
{
    const SymbolStats& stats;
    QString iof;
    QString name;
};

struct ResultSource
{
    const TResultRecord& record;
    QString testName;
};

const QList<Field<StatisticsSource>> StatisticsFields = {
    {{QStringLiteral("kind"), Type::Text}, [](const StatisticsSource& s) { return wordOf(s.stats.kind); }},
    {{QStringLiteral("iof"), Type::Text}, [](const StatisticsSource& s) { return s.iof; }},
    {{QStringLiteral("name"), Type::Text}, [](const StatisticsSource& s) { return s.name; }},
    {{QStringLiteral("attempts"), Type::Integer},
     [](const StatisticsSource& s) { return qint64(s.stats.attempts); }},
    {{QStringLiteral("correct"), Type::Integer},
     [](const StatisticsSource& s) { return qint64(s.stats.correct); }},
    {{QStringLiteral("mean_ms"), Type::Duration, QStringLiteral("mean_time")},
     [](const StatisticsSource& s) { return qint64(std::llround(s.stats.meanMs())); }},
    {{QStringLiteral("last_seen"), Type::Moment},
     [](const StatisticsSource& s) { return s.stats.lastUtcMs; }},
};

const QList<Field<ResultSource>> ResultFields = {
    {{QStringLiteral("name"), Type::Text}, [](const ResultSource& r) { return r.record.PlayerName; }},
    {{QStringLiteral("test_number"), Type::Integer},
     [](const ResultSource& r) { return qint64(r.record.TestNumber); }},
    {{QStringLiteral("test_name"), Type::Text}, [](const ResultSource& r) { return r.testName; }},
    {{QStringLiteral("time_ms"), Type::Duration, QStringLiteral("time")},
     [](const ResultSource& r) { return qint64(std::llround(r.record.Time * MsPerDay)); }},
    {{QStringLiteral("errors"), Type::Integer},
     [](const ResultSource& r) { return qint64(r.record.Errors); }},
};

template <typename Source> ExportTable tableOf(const QString& title, const QList<Field<Source>>& fields)
{
    ExportTable table{title, {}, {}};
    for (const Field<Source>& f : fields)
        table.columns.append(f.column);
    return table;
}

template <typename Source> QVariantList rowOf(const QList<Field<Source>>& fields, const Source& source)
{
    QVariantList row;
    for (const Field<Source>& f : fields)
        row.append(f.value(source));
    return row;
}

void save(const ExportTable& table, const QString& path)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    Files::replaceWhole(target, CoachExport::isSpreadsheet(path) ? XlsxFile::bytes(table, target)
                                                                 : CsvFile::bytes(table));
}

using RowSink = std::function<void(const QVariantList&)>;

// Copies the file at `from` into `to` in pieces.
void copyInto(const QString& from, QFileDevice& to)
{
    QFile file(from);
    Files::openRegular(file, QIODevice::ReadOnly);
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    for (;;) {
        errno = 0;
        const qint64 got = file.read(piece.data(), piece.size());
        if (got < 0)
            Files::throwFileError(file, errno);
        if (got == 0)
            break;
        Files::writeAll(to, QByteArrayView(piece.constData(), got));
    }
}

// Writes the rows that `produce` gives one by one, holding none of them longer than it takes to
// write it; replaces the file at `path` only when every row is written.
void saveStreamed(const QString& title, const QList<ExportTable::Column>& columns, const QString& path,
                  const std::function<void(const RowSink&)>& produce)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    if (CoachExport::isSpreadsheet(path)) {
        XlsxFile::SheetWriter writer(title, columns, target);
        produce([&writer](const QVariantList& row) { writer.addRow(row); });
        const QString made = writer.finish();
        Files::replaceWith(target, [&made](QSaveFile& file) { copyInto(made, file); });
        return;
    }
    Files::replaceWith(target, [&](QSaveFile& file) {
        CsvFile::CsvWriter writer(columns, file);
        produce([&writer](const QVariantList& row) { writer.addRow(row); });
        writer.finish();
    });
}

} // namespace

namespace CoachExport {

bool isSpreadsheet(const QString& path)
{
    return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
}

int writeStatistics(const AnswerStore& store, const SymbolText& nameOf, const SymbolText& iofOf,
                    const QString& path)
{
    ExportTable table = tableOf(QStringLiteral("statistics"), StatisticsFields);
    QList<SymbolStats> symbols = store.symbols();
    std::stable_sort(symbols.begin(), symbols.end(), [](const SymbolStats& a, const SymbolStats& b) {
        return std::pair(orderOf(a.kind), a.value) < std::pair(orderOf(b.kind), b.value);
    });
    for (const SymbolStats& s : std::as_const(symbols)) {
        table.rows.append(
            rowOf(StatisticsFields, StatisticsSource{s, iofOf(s.kind, s.value), nameOf(s.kind, s.value)}));
    }
    save(table, path);
    return static_cast<int>(symbols.size());
}

int writeResults(const QString& resultsPath, const QString& path, int* damaged, qint64* cutBytes,
                 const TestNameOf& testNameOf)
{
    const ExportTable table = tableOf(QStringLiteral("results"), ResultFields);
    int left = 0;
    int rows = 0;
    qint64 cut = 0;
    // The results are read as the export is written, one record at a time.
    saveStreamed(table.title, table.columns, path, [&](const RowSink& add) {
        cut = forEachStoredResult(resultsPath, [&](const TResultRecord& r) {
            if (r.isDamaged()) {
                ++left;
                return;
            }
            const QString named = testNameOf ? testNameOf(r.TestNumber) : QString();
            add(rowOf(ResultFields, ResultSource{r, named.isEmpty() ? r.TestName.trimmed() : named}));
            ++rows;
        });
    });
    if (damaged)
        *damaged = left;
    if (cutBytes)
        *cutBytes = cut;
    return rows;
}

} // namespace CoachExport
