// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/CsvFile.h"

#include "platform/Files.h"

#include <QDateTime>
#include <QFileDevice>
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

// One line of the file: the columns' names for the header, else the row's values.
QByteArray line(const QList<ExportTable::Column>& columns, const QVariantList& row, bool header)
{
    QStringList fields;
    for (qsizetype c = 0; c < columns.size(); ++c)
        fields << CsvFile::field(header ? columns[c].name : text(columns[c], row.value(c)));
    return (fields.join(QLatin1Char(',')) + QLatin1String(LineEnd)).toUtf8();
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
    QByteArray csv = QByteArray(ByteOrderMark) + line(table.columns, {}, true);
    for (const QVariantList& row : table.rows)
        csv += line(table.columns, row, false);
    return csv;
}

CsvWriter::CsvWriter(const QList<ExportTable::Column>& columns, QFileDevice& out)
    : m_columns(columns), m_out(out)
{
    m_pending = QByteArray(ByteOrderMark) + line(m_columns, {}, true);
}

void CsvWriter::addRow(const QVariantList& row)
{
    m_pending += line(m_columns, row, false);
    flushIfFull();
}

void CsvWriter::flushIfFull()
{
    constexpr qsizetype Piece = 64 * 1024;
    if (m_pending.size() >= Piece)
        finish();
}

void CsvWriter::finish()
{
    Files::writeAll(m_out, m_pending);
    m_pending.clear();
}

} // namespace CsvFile
