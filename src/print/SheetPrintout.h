// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/Printout.h"

struct DescriptionSheet;
class SymbolNotation;
class SymbolPainter;

// A description sheet as a runner gets it: the heading, the course with its length and climb, then
// a row for the start, each control (its number in the course, its code, columns C to H), each
// special instruction and the finish, a thicker line after every third control.
Printout sheetPrintout(const DescriptionSheet& sheet, const SymbolPainter& symbols,
                       const SymbolNotation& notation);
// The same sheet as a part of `printout`, on pages of its own.
void addSheet(Printout& printout, const DescriptionSheet& sheet, const SymbolPainter& symbols,
              const SymbolNotation& notation);
