// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/SymbolNotation.h"

#include <QList>
#include <QString>
#include <array>

// One row of a description sheet.
struct SheetRow
{
    enum Kind { Start, Control, Instruction, Finish };
    Kind kind = Control;
    // Column B of a control: its code.
    QString code;
    // Columns C to H.
    LineCells cells{};
    // A special instruction (990 to 999) drawn across the row; 0 for none.
    qint32 instruction = 0;
    // Texts written in boxes C to H that hold no symbol (a dimension "1.5"), and a text written
    // across the boxes of a control (C to H) or across an instruction's row.
    std::array<QString, SheetColumn::Count> texts{};
    QString text;
};

// A description sheet for a course, as a coach writes it for a training.
struct DescriptionSheet
{
    QString title;
    QString course;
    QString length;
    QString climb;
    QList<SheetRow> rows;
};

// Reads the description sheet of the text file at `path` (UTF-8). Each line is blank, a comment
// ('#' first), a heading ("title", "course", "length" or "climb", then its text), "start" and the
// symbols of the start's feature, a control (its code, 1 to 999, then its symbols), "instruction"
// and the number of a special instruction (990 to 999) or "finish", optionally with one. Symbols
// are written as SymbolNotation has them, separated by blanks, in the order of their columns; a
// second symbol of column D goes into column E, and a crossing, junction or between needs it. Throws
// the file's input/output error, or a message naming the file and the line: an unknown symbol or
// keyword, a symbol out of its column's order, a crossing, junction or between with one feature, a
// number out of range; and "The description sheet lists no control".
DescriptionSheet readDescriptionSheet(const QString& path, const SymbolNotation& notation);
