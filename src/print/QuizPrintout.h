// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/Printout.h"

struct PaperQuiz;
class LineTable;
class SymbolPainter;

// A quiz on paper: the test's symbols with an empty line for each meaning, or its whole lines with
// four readings to tick; the answer key on a page of its own after them.
Printout quizPrintout(const PaperQuiz& quiz, const SymbolPainter& symbols, const LineTable* lines);
