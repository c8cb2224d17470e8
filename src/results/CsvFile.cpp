// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/CsvFile.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

namespace {

constexpr char LineEnd[] = "\r\n";
constexpr char ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char FormulaStarts[] = "=+-@\t\r";

QString text(const ExportTable::Column& column, const QVariant& value)
{
    switch (column.type) {
    case ExportTable::Type::Text:
        return CsvFile::neutral(value.toString());
    case ExportTable::Type::Moment:
        return QDateTime::fromMSecsSinceEpoch(value.toLongLong(), QTimeZone::utc()).toString(Qt::ISODate);
    case ExportTable::Type::Integer:
    case ExportTable::Type::Duration:
        break;
    }
    return QString::number(value.toLongLong());
}

} // namespace

namespace CsvFile {

QString neutral(const QString& text)
{
    if (!text.isEmpty() && QLatin1String(FormulaStarts).contains(text.front()))
        return QLatin1Char('\'') + text;
    return text;
}

QString field(const QString& text)
{
    QString written = text;
    if (!written.contains(QLatin1Char(',')) && !written.contains(QLatin1Char('"')) &&
        !written.contains(QLatin1Char('\n')) && !written.contains(QLatin1Char('\r')))
        return written;
    written.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + written + QLatin1Char('"');
}

QByteArray bytes(const ExportTable& table)
{
    QStringList header;
    for (const ExportTable::Column& column : table.columns)
        header << field(column.name);
    QString csv = header.join(QLatin1Char(',')) + QLatin1String(LineEnd);
    for (const QVariantList& row : table.rows) {
        QStringList fields;
        for (qsizetype c = 0; c < table.columns.size(); ++c)
            fields << field(text(table.columns[c], row.value(c)));
        csv += fields.join(QLatin1Char(',')) + QLatin1String(LineEnd);
    }
    return QByteArray(ByteOrderMark) + csv.toUtf8();
}

} // namespace CsvFile
