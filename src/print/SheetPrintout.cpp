// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/SheetPrintout.h"

#include "content/DescriptionSheet.h"
#include "content/Language.h"
#include "print/PrintStyle.h"
#include "print/SymbolPainter.h"

#include <QPainter>

namespace {

// The sheet's cell, in millimetres, and its eight columns A to H.
constexpr qreal Cell = 8;
constexpr int Columns = 8;
constexpr int ControlsPerGroup = 3;
// How far a special instruction's own frame lines reach into its row.
constexpr qreal FrameInset = 0.45;
constexpr char StartMark[] = "start";
constexpr char FinishMark[] = "finish";

struct RowFrame
{
    bool thickTop = false;
    bool thickBottom = false;
};

// The row's place on the sheet, centred across the page.
QRectF sheetRow(const QRectF& place, qreal mm)
{
    const qreal width = Columns * Cell * mm;
    return QRectF(place.center().x() - width / 2, place.top(), width, place.height());
}

void drawFrame(QPainter& painter, const QRectF& row, const RowFrame& frame, qreal mm)
{
    const QPen thin(Qt::black, PrintStyle::ThinLine * mm);
    const QPen thick(Qt::black, PrintStyle::ThickLine * mm);
    painter.setPen(frame.thickTop ? thick : thin);
    painter.drawLine(row.topLeft(), row.topRight());
    painter.setPen(frame.thickBottom ? thick : thin);
    painter.drawLine(row.bottomLeft(), row.bottomRight());
    painter.setPen(thick);
    painter.drawLine(row.topLeft(), row.bottomLeft());
    painter.drawLine(row.topRight(), row.bottomRight());
}

// Text cells across the row: each (text, cells wide), with lines between them.
void drawTextCells(QPainter& painter, const QRectF& row, const QList<QPair<QString, int>>& cells, bool bold,
                   qreal mm)
{
    qreal x = row.left();
    const qreal cell = row.height();
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const QRectF box(x, row.top(), cells[i].second * cell, cell);
        painter.setPen(Qt::black);
        painter.setFont(PrintStyle::font(PrintStyle::TextSize, bold));
        painter.drawText(box.adjusted(mm, 0, -mm, 0), Qt::AlignCenter | Qt::TextSingleLine, cells[i].first);
        if (i > 0) {
            painter.setPen(QPen(Qt::black, PrintStyle::ThinLine * mm));
            painter.drawLine(box.topLeft(), box.bottomLeft());
        }
        x = box.right();
    }
}

// The texts of the boxes C to H from `left` that hold no symbol; or, when the row has one text for
// them all, that text across the six boxes in one frame.
void drawBoxTexts(QPainter& painter, qreal left, const QRectF& line, const SheetRow& row, qreal mm)
{
    const qreal cell = line.height();
    painter.setPen(Qt::black);
    painter.setFont(PrintStyle::font(PrintStyle::SmallSize));
    if (!row.text.isEmpty()) {
        const QRectF boxes(left, line.top(), int(SheetColumn::Count) * cell, cell);
        const qreal inset = PrintStyle::ThinLine * mm / 2;
        painter.fillRect(boxes.adjusted(inset, inset, -inset, -inset), Qt::white);
        PrintStyle::drawWrapped(painter, boxes.adjusted(mm, 0, -mm, 0), row.text, Qt::AlignCenter);
        return;
    }
    for (int c = 0; c < SheetColumn::Count; ++c) {
        if (row.cells[c] == 0 && !row.texts[c].isEmpty())
            painter.drawText(QRectF(left + c * cell, line.top(), cell, cell),
                             Qt::AlignCenter | Qt::TextSingleLine, row.texts[c]);
    }
}

} // namespace

Printout sheetPrintout(const DescriptionSheet& sheet, const SymbolPainter& symbols,
                       const SymbolNotation& notation)
{
    Printout printout(LoadString(StringId::SheetTitle));
    addSheet(printout, sheet, symbols, notation);
    return printout;
}

void addSheet(Printout& printout, const DescriptionSheet& sheet, const SymbolPainter& symbols,
              const SymbolNotation& notation)
{
    const QString title = LoadString(StringId::SheetTitle);
    const qint32 startMark = notation.code(QString::fromLatin1(StartMark));
    const qint32 finishMark = notation.code(QString::fromLatin1(FinishMark));
    QList<qint32> glyphs{startMark, finishMark};
    for (const SheetRow& row : sheet.rows) {
        for (const qint32 code : row.cells) {
            if (code != 0)
                glyphs.append(code);
        }
    }
    symbols.requireGlyphs(glyphs);

    printout.beginPart(title);
    // the heading rows that the file gives: the event, then the course, its length and climb
    QList<QList<QPair<QString, int>>> headings;
    if (!sheet.title.isEmpty())
        headings.append({{sheet.title, Columns}});
    if (!sheet.course.isEmpty() || !sheet.length.isEmpty() || !sheet.climb.isEmpty())
        headings.append({{sheet.course, 3}, {sheet.length, 3}, {sheet.climb, 2}});
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const QList<QPair<QString, int>> cells = headings[i];
        const RowFrame frame{i == 0, false};
        printout.addBlock(Cell, [cells, frame](QPainter& painter, const QRectF& place, qreal mm) {
            const QRectF row = sheetRow(place, mm);
            drawTextCells(painter, row, cells, true, mm);
            drawFrame(painter, row, frame, mm);
        });
    }
    int controls = 0;
    for (qsizetype i = 0; i < sheet.rows.size(); ++i) {
        const SheetRow row = sheet.rows[i];
        if (row.kind == SheetRow::Control)
            ++controls;
        const int number = controls;
        RowFrame frame;
        frame.thickTop = i == 0 && headings.isEmpty();
        frame.thickBottom =
            i + 1 == sheet.rows.size() || (row.kind == SheetRow::Control && number % ControlsPerGroup == 0);
        printout.addBlock(Cell, [=](QPainter& painter, const QRectF& place, qreal mm) {
            const QRectF line = sheetRow(place, mm);
            const qreal cell = line.height();
            const qreal inset = cell * 0.06;
            switch (row.kind) {
            case SheetRow::Instruction:
            case SheetRow::Finish:
                painter.setPen(Qt::black);
                if (row.instruction != 0) {
                    // the row has its frame: the picture's own lines above and below are left out
                    painter.setClipRect(line.adjusted(0, FrameInset * mm, 0, -FrameInset * mm));
                    symbols.drawInstruction(painter, line, row.instruction);
                    painter.setClipping(false);
                } else if (!row.text.isEmpty()) {
                    painter.setFont(PrintStyle::font(PrintStyle::SmallSize));
                    PrintStyle::drawWrapped(painter, line.adjusted(mm, 0, -mm, 0), row.text, Qt::AlignCenter);
                } else {
                    const QRectF middle(line.center().x() - cell / 2, line.top(), cell, cell);
                    symbols.drawGlyph(painter, middle.adjusted(inset, inset, -inset, -inset), finishMark);
                }
                break;
            case SheetRow::Start:
            case SheetRow::Control: {
                const QRectF a(line.left(), line.top(), cell, cell);
                if (row.kind == SheetRow::Start) {
                    painter.setPen(Qt::black);
                    symbols.drawGlyph(painter, a.adjusted(inset, inset, -inset, -inset), startMark);
                    drawTextCells(painter, line, {{QString(), 1}, {QString(), 1}}, true, mm);
                } else {
                    drawTextCells(painter, line, {{QString::number(number), 1}, {row.code, 1}}, true, mm);
                }
                painter.setPen(QPen(Qt::black, PrintStyle::ThinLine * mm));
                painter.drawLine(QPointF(line.left() + 2 * cell, line.top()),
                                 QPointF(line.left() + 2 * cell, line.bottom()));
                symbols.drawCells(painter, QPointF(line.left() + 2 * cell, line.top()), cell, row.cells,
                                  PrintStyle::ThinLine * mm);
                drawBoxTexts(painter, line.left() + 2 * cell, line, row, mm);
                break;
            }
            }
            drawFrame(painter, line, frame, mm);
        });
    }
}
