// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"
#include "print/Printout.h"

class LineTable;
class SymbolNames;
class SymbolNotation;
class SymbolPainter;

// A handout of every symbol of a kind (SymbolKind) in the order of the standards, as the files of
// names list them: each with its number (as a coach writes it on a description sheet, the ISOM
// number of a map symbol), its picture and its name. Throws "File not found" naming the file of
// names when there is none, or "No text for number %d" for a whole line the table lacks. The
// description symbols need `notation`, the whole lines `lines`.
Printout handoutPrintout(SymbolKind kind, const SymbolNames& names, const SymbolPainter& symbols,
                         const SymbolNotation* notation, const LineTable* lines);
