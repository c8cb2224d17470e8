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
// The description sheet of the course named `course` of the event file at `path`, or of every
// course of it with a control (each on pages of its own) when `course` is empty. Throws what keeps
// the file from use, "The file has no course named %s" or, without a course to print, "The file
// holds nothing the program can read", naming the file.
Printout courseSheets(const QString& path, const QString& course);

} // namespace Printouts
