// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"
#include "print/Printout.h"

struct TTypesItem;

// The printouts for a coach, made from the content of the program folder in the active language.
// Each throws what keeps it from being made, naming the file at fault.
namespace Printouts {

// The quiz and answer key of test `number`, from whichever catalogue holds it.
Printout testQuiz(qint32 number);
// The quiz and answer key of `test`, whose symbols are of `kind` (SymbolKind).
Printout testQuiz(const TTypesItem& test, SymbolKind kind);
// Every symbol of `kind` with its number, picture and name.
Printout handout(SymbolKind kind);
// The description sheet written in the text file at `path`.
Printout sheet(const QString& path);

} // namespace Printouts
