// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/Printouts.h"

#include "content/CourseSheet.h"
#include "content/DescriptionSheet.h"
#include "content/Language.h"
#include "content/LineTable.h"
#include "content/SymbolNotation.h"
#include "game/SymbolNames.h"
#include "platform/AppError.h"
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

Printout Printouts::courseSheets(const QString& path, const QString& course)
{
    const CourseEvent event = readCourseEvent(path);
    QList<const EventCourse*> courses;
    if (course.isEmpty()) {
        // every course that has a control to print
        for (const EventCourse& c : event.courses) {
            if (event.controlCount(c) > 0)
                courses.append(&c);
        }
        if (courses.isEmpty())
            throw AppError(QString::fromLatin1(Msg::NothingInFile)).inFile(event.path);
    } else if (const EventCourse* named = event.course(course)) {
        courses.append(named);
    } else {
        throw AppError(QString::fromLatin1(Msg::NoCourseNamed), {course}).inFile(event.path);
    }
    const SymbolPainter symbols;
    const SymbolNotation notation;
    Printout printout(LoadString(StringId::SheetTitle));
    for (const EventCourse* c : courses)
        addSheet(printout, courseSheet(event, *c, notation), symbols, notation);
    return printout;
}
