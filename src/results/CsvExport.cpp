#include "results/CsvExport.h"

#include "platform/Files.h"
#include "results/AnswerStore.h"
#include "results/ResultsFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimeZone>
#include <cmath>

namespace {

constexpr char LineEnd[] = "\r\n";
constexpr double SecondsPerDay = 86400.0;

void save(const QString& csvPath, const QString& text)
{
    Files::replaceWhole(QFileInfo(csvPath).absoluteFilePath(), text.toUtf8());
}

// A field quoted where a reader would otherwise split it.
QString field(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString doubled = text;
    doubled.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString row(const QStringList& fields)
{
    QStringList quoted;
    for (const QString& f : fields)
        quoted << field(f);
    return quoted.join(QLatin1Char(',')) + QLatin1String(LineEnd);
}

} // namespace

namespace CsvExport {

int writeStatistics(const AnswerStore& store, const NameOf& nameOf, const QString& csvPath)
{
    QString text = row({QStringLiteral("value"), QStringLiteral("name"), QStringLiteral("attempts"),
                        QStringLiteral("correct"), QStringLiteral("mean_ms"), QStringLiteral("last_seen")});
    const QList<SymbolStats> symbols = store.symbols();
    for (const SymbolStats& s : symbols) {
        const QDateTime last = QDateTime::fromMSecsSinceEpoch(s.lastUtcMs, QTimeZone::utc());
        text += row({QString::number(s.value), nameOf(s.kind, s.value), QString::number(s.attempts),
                     QString::number(s.correct), QString::number(std::llround(s.meanMs())),
                     last.toString(Qt::ISODate)});
    }
    save(csvPath, text);
    return static_cast<int>(symbols.size());
}

int writeResults(const QString& resultsPath, const QString& csvPath, int* damaged, qint64* cutBytes,
                 const TestNameOf& testNameOf)
{
    QString text = row({QStringLiteral("name"), QStringLiteral("test_number"), QStringLiteral("test_name"),
                        QStringLiteral("time"), QStringLiteral("errors")});
    int rows = 0;
    int left = 0;
    const qint64 cut = forEachStoredResult(resultsPath, [&](const TResultRecord& r) {
        if (r.isDamaged()) {
            ++left;
            return;
        }
        const QString named = testNameOf ? testNameOf(r.TestNumber) : QString();
        text +=
            row({r.PlayerName, QString::number(r.TestNumber), named.isEmpty() ? r.TestName.trimmed() : named,
                 QString::number(r.Time * SecondsPerDay, 'f', 3), QString::number(r.Errors)});
        ++rows;
    });
    if (damaged)
        *damaged = left;
    if (cutBytes)
        *cutBytes = cut;
    save(csvPath, text);
    return rows;
}

} // namespace CsvExport
