// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/ExportTable.h"

#include <QByteArray>

// A table as a spreadsheet (.xlsx) of one sheet: texts as text cells (never formulas), integers as
// numbers, durations as times of the format [mm]:ss.0, moments as dates in UTC; the header row bold
// and frozen, with a filter, and every column as wide as its longest entry.
namespace XlsxFile {

// Throws AppError naming `targetPath` (the file it is meant for) when the spreadsheet cannot be
// made.
QByteArray bytes(const ExportTable& table, const QString& targetPath);

} // namespace XlsxFile
