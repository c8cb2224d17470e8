// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/QuizPrintout.h"

#include "content/Language.h"
#include "content/LineTable.h"
#include "game/CellItem.h"
#include "print/PaperQuiz.h"
#include "print/PrintStyle.h"
#include "print/SymbolPainter.h"
#include "results/AnswerStore.h"

#include <QPainter>

namespace {

// Heights and widths in millimetres.
constexpr qreal NumberWidth = 9;
constexpr qreal IntroLine = 8;
constexpr qreal TaskLine = 6;
constexpr qreal DescriptionRow = 14;
constexpr qreal DescriptionPicture = 11;
constexpr qreal SpecialPictureWidth = 26;
constexpr qreal MapRow = 29;
constexpr qreal MapPicture = 25;
constexpr qreal LineRow = 15;
constexpr qreal LineCell = 7;
constexpr qreal KeyRow = 9;
constexpr qreal KeyPicture = 7;
constexpr qreal KeyLineRow = 6;
constexpr qreal OptionBox = 2.6;
constexpr int MapColumns = 2;
constexpr int OptionColumns = 2;
const QChar FirstLetter = QLatin1Char('A');

QString numbered(int index)
{
    return QString::number(index + 1) + QLatin1Char('.');
}

// The symbol of a question in `box`: a character of the symbol font, or a picture of the library.
void drawSymbol(QPainter& painter, const QRectF& box, const SymbolPainter& symbols, SymbolKind kind,
                qint32 value, qreal mm)
{
    painter.setPen(Qt::black);
    if (kind == SymbolKind::MapSymbol) {
        symbols.drawMapSymbol(painter, box, value, PrintStyle::ThinLine * mm);
    } else if (value < CellItem::FirstLibraryNumber) {
        symbols.drawGlyph(painter,
                          QRectF(box.center().x() - box.height() / 2, box.top(), box.height(), box.height()),
                          value);
    } else {
        symbols.drawInstruction(painter, box, value);
    }
}

qreal pictureWidth(SymbolKind kind, qreal height)
{
    return kind == SymbolKind::Description ? SpecialPictureWidth * height / DescriptionPicture : height;
}

// "Name: ______   Date: ______" across the page.
void addNameLine(Printout& printout)
{
    printout.addIntro(IntroLine, [](QPainter& painter, const QRectF& place, qreal mm) {
        painter.setFont(PrintStyle::font(PrintStyle::TextSize));
        painter.setPen(QPen(Qt::black, PrintStyle::ThinLine * mm));
        const qreal base = place.bottom() - 2.5 * mm;
        const qreal half = place.width() * 0.6;
        const QString fields[] = {LoadString(StringId::NameField), LoadString(StringId::DateField)};
        const qreal starts[] = {place.left(), place.left() + half + 8 * mm};
        const qreal ends[] = {place.left() + half, place.right()};
        for (int i = 0; i < 2; ++i) {
            const QRectF label(starts[i], place.top(), ends[i] - starts[i], base - place.top());
            QRectF used;
            painter.drawText(label, Qt::AlignLeft | Qt::AlignBottom, fields[i], &used);
            painter.drawLine(QPointF(used.right() + 2 * mm, base), QPointF(ends[i], base));
        }
    });
}

void addTask(Printout& printout, const QString& task)
{
    printout.addIntro(TaskLine, [task](QPainter& painter, const QRectF& place, qreal) {
        painter.setFont(PrintStyle::font(PrintStyle::TextSize));
        painter.setPen(Qt::black);
        painter.drawText(place, Qt::AlignLeft | Qt::AlignVCenter, task);
    });
}

void addWritingQuestions(Printout& printout, const PaperQuiz& quiz, const SymbolPainter& symbols)
{
    const bool map = quiz.kind == SymbolKind::MapSymbol;
    const qreal rowHeight = map ? MapRow : DescriptionRow;
    const qreal pictureHeight = map ? MapPicture : DescriptionPicture;
    for (int i = 0; i < quiz.questions.size(); ++i) {
        const qint32 value = quiz.questions[i].value;
        const SymbolKind kind = quiz.kind;
        printout.addBlock(rowHeight, [=](QPainter& painter, const QRectF& place, qreal mm) {
            painter.setFont(PrintStyle::font(PrintStyle::TextSize, true));
            painter.setPen(Qt::black);
            painter.drawText(QRectF(place.left(), place.top(), NumberWidth * mm, place.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, numbered(i));
            const qreal h = pictureHeight * mm;
            const QRectF box(place.left() + NumberWidth * mm, place.center().y() - h / 2,
                             pictureWidth(kind, pictureHeight) * mm, h);
            drawSymbol(painter, box, symbols, kind, value, mm);
            // the lines to write on: one beside a description symbol, two beside a map excerpt
            painter.setPen(QPen(Qt::black, PrintStyle::ThinLine * mm));
            const qreal left = box.right() + 4 * mm;
            const int lines = map ? 2 : 1;
            for (int l = 1; l <= lines; ++l) {
                const qreal y = place.top() + place.height() * l / (lines + 1) + 2 * mm;
                painter.drawLine(QPointF(left, y), QPointF(place.right() - 2 * mm, y));
            }
        });
    }
}

void addChoiceQuestions(Printout& printout, const PaperQuiz& quiz, const SymbolPainter& symbols,
                        const LineTable& lines)
{
    for (int i = 0; i < quiz.questions.size(); ++i) {
        const QuizQuestion question = quiz.questions[i];
        const LineCells cells = lines.cells(question.value);
        printout.addBlock(LineRow, [=](QPainter& painter, const QRectF& place, qreal mm) {
            painter.setFont(PrintStyle::font(PrintStyle::TextSize, true));
            painter.setPen(Qt::black);
            painter.drawText(QRectF(place.left(), place.top(), NumberWidth * mm, place.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, numbered(i));
            const qreal cell = LineCell * mm;
            symbols.drawCells(painter,
                              QPointF(place.left() + NumberWidth * mm, place.center().y() - cell / 2), cell,
                              cells, PrintStyle::ThinLine * mm);
            // the readings two by two, each with a box to tick
            const qreal left = place.left() + NumberWidth * mm + int(SheetColumn::Count) * cell + 5 * mm;
            const qreal width = (place.right() - left) / OptionColumns;
            const qreal height = (place.height() - 1.5 * mm) / 2;
            painter.setFont(PrintStyle::font(PrintStyle::OptionSize));
            for (int o = 0; o < question.options.size(); ++o) {
                const QRectF option(left + (o % OptionColumns) * width,
                                    place.top() + (o / OptionColumns) * height, width - 2 * mm, height);
                const qreal box = OptionBox * mm;
                painter.setPen(QPen(Qt::black, PrintStyle::ThinLine * mm));
                painter.drawRect(QRectF(option.left(), option.center().y() - box / 2, box, box));
                painter.drawText(QRectF(option.left() + box + 1 * mm, option.top(), 4 * mm, option.height()),
                                 Qt::AlignLeft | Qt::AlignVCenter, QString(QChar(FirstLetter.unicode() + o)));
                PrintStyle::drawWrapped(painter, option.adjusted(box + 5 * mm, 0, 0, 0), question.options[o]);
            }
        });
    }
}

void addKey(Printout& printout, const PaperQuiz& quiz, const SymbolPainter& symbols)
{
    printout.beginPart(LoadString(StringId::AnswerKeyTitle).arg(quiz.testNumber).arg(quiz.testName));
    const bool lines = quiz.kind == SymbolKind::Line;
    for (int i = 0; i < quiz.questions.size(); ++i) {
        const QuizQuestion question = quiz.questions[i];
        const SymbolKind kind = quiz.kind;
        printout.addBlock(lines ? KeyLineRow : KeyRow, [=](QPainter& painter, const QRectF& place, qreal mm) {
            painter.setFont(PrintStyle::font(PrintStyle::TextSize, true));
            painter.setPen(Qt::black);
            painter.drawText(QRectF(place.left(), place.top(), NumberWidth * mm, place.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, numbered(i));
            qreal left = place.left() + NumberWidth * mm;
            if (lines) {
                painter.drawText(QRectF(left, place.top(), 6 * mm, place.height()),
                                 Qt::AlignLeft | Qt::AlignVCenter,
                                 QString(QChar(FirstLetter.unicode() + question.answerIndex)));
                left += 6 * mm;
            } else {
                const qreal h = KeyPicture * mm;
                const QRectF box(left, place.center().y() - h / 2, pictureWidth(kind, KeyPicture) * mm, h);
                drawSymbol(painter, box, symbols, kind, question.value, mm);
                left = box.right() + 4 * mm;
            }
            painter.setFont(PrintStyle::font(PrintStyle::TextSize));
            PrintStyle::drawWrapped(painter, QRectF(left, place.top(), place.right() - left, place.height()),
                                    question.answer);
        });
    }
}

} // namespace

Printout quizPrintout(const PaperQuiz& quiz, const SymbolPainter& symbols, const LineTable* lines)
{
    const QString title = LoadString(StringId::PaperQuizTitle).arg(quiz.testNumber).arg(quiz.testName);
    Printout printout(title);
    const bool choice = quiz.kind == SymbolKind::Line && lines;
    printout.beginPart(title, quiz.kind == SymbolKind::MapSymbol ? MapColumns : 1);
    addNameLine(printout);
    addTask(printout, LoadString(choice ? StringId::TickReadingTask : StringId::WriteMeaningTask));
    if (choice)
        addChoiceQuestions(printout, quiz, symbols, *lines);
    else
        addWritingQuestions(printout, quiz, symbols);
    addKey(printout, quiz, symbols);
    return printout;
}
