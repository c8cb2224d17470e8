// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/ExportTable.h"

#include <QByteArray>

// A table as comma-separated values (RFC 4180): UTF-8 with a byte-order mark, CR LF line ends, a
// header row, fields quoted where a reader would split them. Durations are integer milliseconds and
// moments ISO 8601 in UTC, so no decimal separator of any locale can mislead. A text that a
// spreadsheet would run as a formula (starting with = + - @, a tab or a carriage return) gets a
// leading apostrophe.
namespace CsvFile {

QByteArray bytes(const ExportTable& table);

// A text with a leading apostrophe where a spreadsheet would run it as a formula.
QString neutral(const QString& text);
// The field as written: quoted where a reader would split it.
QString field(const QString& text);

} // namespace CsvFile
