// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/ExportTable.h"

#include <QByteArray>
#include <QString>
#include <memory>

// A table as a spreadsheet (.xlsx) of one sheet: texts as text cells (never formulas), integers as
// numbers, durations as times of the format [mm]:ss.0, moments as dates in UTC; the header row bold
// and frozen, with a filter, and every column as wide as its longest entry.
namespace XlsxFile {

// Throws AppError naming `targetPath` (the file it is meant for) when the spreadsheet cannot be
// made.
QByteArray bytes(const ExportTable& table, const QString& targetPath);

// Writes the spreadsheet row by row: each row goes to a temporary file as it comes (the library's
// constant-memory mode), so that memory does not grow with the rows.
class SheetWriter
{
public:
    SheetWriter(const QString& title, const QList<ExportTable::Column>& columns, const QString& targetPath);
    ~SheetWriter();
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;

    void addRow(const QVariantList& row);
    // Completes the spreadsheet; returns the temporary file that holds it, removed with the writer.
    QString finish();

private:
    struct Book;
    std::unique_ptr<Book> m_book;
};

} // namespace XlsxFile
