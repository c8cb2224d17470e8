// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/ExportTable.h"

#include <QByteArray>

class QFileDevice;

// A table as comma-separated values (RFC 4180): UTF-8 with a byte-order mark, CR LF line ends, a
// header row, fields quoted where a reader would split them. Durations are integer milliseconds and
// moments ISO 8601 in UTC, so no decimal separator of any locale can mislead. A text that a
// spreadsheet would run as a formula (starting with = + - @, a tab or a carriage return) gets a
// leading apostrophe.
namespace CsvFile {

QByteArray bytes(const ExportTable& table);

// Writes the file row by row to `out` (which must stay open): the byte-order mark and the header
// row at once, then each row as it comes, in pieces of a few kilobytes. Throws the device's
// input/output error.
class CsvWriter
{
public:
    CsvWriter(const QList<ExportTable::Column>& columns, QFileDevice& out);
    void addRow(const QVariantList& row);
    // Writes what is still held.
    void finish();

private:
    void flushIfFull();

    QList<ExportTable::Column> m_columns;
    QFileDevice& m_out;
    QByteArray m_pending;
};

// A text with a leading apostrophe where a spreadsheet would run it as a formula.
QString neutral(const QString& text);
// The field as written: quoted where a reader would split it.
QString field(const QString& text);

} // namespace CsvFile
