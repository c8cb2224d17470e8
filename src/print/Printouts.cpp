// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/Printouts.h"

#include "content/DescriptionSheet.h"
#include "content/LineTable.h"
#include "content/SymbolNotation.h"
#include "game/SymbolNames.h"
#include "print/HandoutPrintout.h"
#include "print/PaperQuiz.h"
#include "print/QuizPrintout.h"
#include "print/SheetPrintout.h"
#include "print/SymbolPainter.h"
#include "results/AnswerStore.h"

#include <memory>

namespace {

// The table of whole lines, for the symbols that are whole lines.
std::unique_ptr<LineTable> linesFor(SymbolKind kind)
{
    if (kind != SymbolKind::Line)
        return nullptr;
    return std::make_unique<LineTable>(SymbolNotation());
}

} // namespace

Printout Printouts::testQuiz(qint32 number)
{
    const CatalogueTest found = CatalogueTest::find(number);
    return testQuiz(found.test, found.kind);
}

Printout Printouts::testQuiz(const TTypesItem& test, SymbolKind kind)
{
    const SymbolPainter symbols;
    const std::unique_ptr<LineTable> lines = linesFor(kind);
    const PaperQuiz quiz = PaperQuiz::build(test, kind, SymbolNames(kind), lines.get());
    return quizPrintout(quiz, symbols, lines.get());
}

Printout Printouts::handout(SymbolKind kind)
{
    const SymbolPainter symbols;
    std::unique_ptr<SymbolNotation> notation;
    if (kind == SymbolKind::Description)
        notation = std::make_unique<SymbolNotation>();
    const std::unique_ptr<LineTable> lines = linesFor(kind);
    return handoutPrintout(kind, SymbolNames(kind), symbols, notation.get(), lines.get());
}

Printout Printouts::sheet(const QString& path)
{
    const SymbolPainter symbols;
    const SymbolNotation notation;
    return sheetPrintout(readDescriptionSheet(path, notation), symbols, notation);
}
