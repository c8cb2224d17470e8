// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <array>

// The columns of a description line that hold symbols, C to H, as indices; the sheet's own marks
// (start, finish) stand in no column.
namespace SheetColumn {
enum : int { C, D, E, F, G, H, Count, None = -1 };
// 'C' for C ...
QChar letter(int column);
} // namespace SheetColumn

// The symbols of columns C to H of one line as character codes of the symbol font; 0 is an empty
// cell.
using LineCells = std::array<qint32, SheetColumn::Count>;

// How a coach writes a description symbol, as the whole lines of the combination tests are written:
// its IOF number, with ':' and a compass point for a directional symbol (12.1:E) or the value of
// column F (9.1:1.5, 9.2:8x4, 9.4:2/3); the sheet's own marks by their word (start, finish). The
// table "SymbolCodes.tsv" beside the symbol font gives each its character code and its column.
class SymbolNotation
{
public:
    static constexpr char FileName[] = "SymbolCodes.tsv";

    // Reads the table of the working directory; throws "File not found" or "The file is damaged or
    // of an unknown kind" naming the file (and the line).
    SymbolNotation();

    // The character code written `notation` (letter case ignored); 0 when there is none.
    qint32 code(const QString& notation) const;
    // How the code is written; empty for a code the table lacks.
    QString notation(qint32 code) const;
    // The column that holds the symbol, SheetColumn::None for the sheet's marks and unknown codes.
    int column(qint32 code) const;

private:
    QHash<QString, qint32> m_codes;
    QHash<qint32, QString> m_notations;
    QHash<qint32, int> m_columns;
};
