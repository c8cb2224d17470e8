// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/CoachExport.h"

#include "platform/Files.h"
#include "results/AnswerStore.h"
#include "results/CsvFile.h"
#include "results/ResultsFile.h"
#include "results/XlsxFile.h"

#include <QFileInfo>
#include <algorithm>
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
    ExportTable table = tableOf(QStringLiteral("results"), ResultFields);
    int left = 0;
    const qint64 cut = forEachStoredResult(resultsPath, [&](const TResultRecord& r) {
        if (r.isDamaged()) {
            ++left;
            return;
        }
        const QString named = testNameOf ? testNameOf(r.TestNumber) : QString();
        table.rows.append(
            rowOf(ResultFields, ResultSource{r, named.isEmpty() ? r.TestName.trimmed() : named}));
    });
    if (damaged)
        *damaged = left;
    if (cutBytes)
        *cutBytes = cut;
    save(table, path);
    return static_cast<int>(table.rows.size());
}

} // namespace CoachExport
