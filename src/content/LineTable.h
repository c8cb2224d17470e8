// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/SymbolNotation.h"

#include <QHash>
#include <QList>
#include <QString>

// The cells of the whole description lines (the combination tests' symbols from 1000 on), read from
// "Lines.tsv" of the program folder: the line's number, then columns C to H in the symbols'
// notation, an empty cell left empty.
class LineTable
{
public:
    static constexpr char FileName[] = "Lines.tsv";

    // Throws "File not found" naming the file, or "The file is damaged or of an unknown kind" naming
    // the file and the line of a row whose number is no number or is there twice, or whose cell is
    // no symbol of `notation` or stands in a column the symbol does not belong in.
    explicit LineTable(const SymbolNotation& notation);

    bool contains(qint32 number) const { return m_cells.contains(number); }
    // The cells of a line; every cell empty for a number the table lacks.
    LineCells cells(qint32 number) const { return m_cells.value(number, LineCells{}); }
    const QString& filePath() const { return m_path; }

    // How much two lines look alike, column by column where both have a symbol: the same symbol
    // counts most, then the same IOF number in another direction or value (side north, side east),
    // then a symbol of the same section of the standard (a boulder, a cliff).
    int likeness(qint32 a, qint32 b) const;

private:
    QString m_path;
    QHash<qint32, LineCells> m_cells;
    // each code's IOF number and section ("12.1", "12"), of the codes the lines use
    QHash<qint32, QPair<QString, QString>> m_numberOfCode;
};
