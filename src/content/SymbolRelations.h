// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/SymbolNotation.h"

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>
#include <array>

// What the program knows of its symbols besides their names and explanations, read from the
// content file "Relations.txt" (one file for every language, made from the content's sources): the
// column and IOF number of each description symbol, the group of each map symbol, the cells of each
// whole line, and which description symbols describe a map symbol. The quick quiz chooses
// look-alike answers with it.
class SymbolRelations
{
public:
    static constexpr char FileName[] = "Relations.txt";
    // The font codes of a whole line's cells, columns C to H; 0 for an empty cell.
    using LineCells = ::LineCells;

    // The relations of the file in the working directory (letter case ignored); none when it is
    // missing. A line that cannot be read throws AppError naming the file and the line, a file that
    // yields no relation at all "The file holds nothing the program can read".
    static SymbolRelations read(const QString& fileName = QString::fromLatin1(FileName));

    // The column letter (C .. H, or S for the sheet's own marks) of a description symbol; a null
    // character when unknown.
    QChar columnOf(qint32 code) const { return m_columns.value(code); }
    // The IOF number the symbol shares with its other directions ("12.1"); empty when it has none.
    QString iofOf(qint32 code) const { return m_iof.value(code); }
    QString groupOf(qint32 isom) const { return m_groups.value(isom); }
    bool hasCells(qint32 line) const { return m_lines.contains(line); }
    LineCells cellsOf(qint32 line) const { return m_lines.value(line); }
    // The description symbols that describe a map symbol, the first one named first.
    QList<qint32> describedBy(qint32 isom) const { return m_describedBy.value(isom); }
    // The map symbols a description symbol describes.
    QList<qint32> describes(qint32 code) const { return m_describes.value(code); }

private:
    void parseLine(const QString& line);

    QHash<qint32, QChar> m_columns;
    QHash<qint32, QString> m_iof;
    QHash<qint32, QString> m_groups;
    QHash<qint32, LineCells> m_lines;
    QHash<qint32, QList<qint32>> m_describedBy;
    QHash<qint32, QList<qint32>> m_describes;
};
