// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/HandoutPrintout.h"

#include "content/Language.h"
#include "content/LineTable.h"
#include "game/CellItem.h"
#include "game/SymbolNames.h"
#include "game/SymbolNumbers.h"
#include "platform/AppError.h"
#include "print/PaperQuiz.h"
#include "print/PrintStyle.h"
#include "print/SymbolPainter.h"
#include "results/AnswerStore.h"

#include <QPainter>

namespace {

// Heights and widths in millimetres, for each kind.
struct Layout
{
    int columns;
    qreal rowHeight;
    qreal numberWidth;
    qreal pictureHeight;
    qreal pictureWidth;
};
constexpr Layout DescriptionLayout{2, 11, 15, 9, 22};
constexpr Layout MapLayout{2, 25, 13, 22, 22};
constexpr Layout LineLayout{1, 9, 13, 7, 6 * 7};
constexpr qreal Gap = 3;
int titleOf(SymbolKind kind)
{
    switch (kind) {
    case SymbolKind::MapSymbol:
        return StringId::MapHandoutTitle;
    case SymbolKind::Line:
        return StringId::LineHandoutTitle;
    default:
        return StringId::DescriptionHandoutTitle;
    }
}

} // namespace

Printout handoutPrintout(SymbolKind kind, const SymbolNames& names, const SymbolPainter& symbols,
                         const SymbolNotation* notation, const LineTable* lines)
{
    const QList<qint32>& values = names.symbols(kind);
    if (values.isEmpty())
        throw AppError(QString::fromLatin1(Msg::FileNotFound)).inFile(namesFileOf(kind, 0));
    const Layout layout = kind == SymbolKind::MapSymbol ? MapLayout
                          : kind == SymbolKind::Line    ? LineLayout
                                                        : DescriptionLayout;
    QList<qint32> glyphs;
    for (const qint32 value : values) {
        if (kind == SymbolKind::Description && value < CellItem::FirstLibraryNumber)
            glyphs.append(value);
        else if (kind == SymbolKind::Line && (!lines || !lines->contains(value)))
            throw AppError(QString::fromLatin1(Msg::NoTextForNumber), {QString::number(value)})
                .inFile(lines ? lines->filePath() : QString::fromLatin1(LineTable::FileName))
                .atNumber(value);
    }
    symbols.requireGlyphs(glyphs);

    const QString title = LoadString(titleOf(kind));
    Printout printout(title);
    printout.beginPart(title, layout.columns);
    for (const qint32 value : values) {
        QString number;
        if (kind == SymbolKind::MapSymbol)
            number = SymbolNumbers::isomNumber(value);
        else if (kind == SymbolKind::Description && value < CellItem::FirstLibraryNumber)
            number = notation ? notation->notation(value) : QString::number(value);
        else
            number = QString::number(value);
        const QString name = names.name(kind, value);
        const LineCells cells = lines ? lines->cells(value) : LineCells{};
        printout.addBlock(layout.rowHeight, [=](QPainter& painter, const QRectF& place, qreal mm) {
            painter.setPen(Qt::black);
            painter.setFont(PrintStyle::font(PrintStyle::SmallSize, true));
            painter.drawText(QRectF(place.left(), place.top(), layout.numberWidth * mm, place.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, number);
            const qreal h = layout.pictureHeight * mm;
            QRectF box(place.left() + layout.numberWidth * mm, place.center().y() - h / 2,
                       layout.pictureWidth * mm, h);
            if (kind == SymbolKind::Line) {
                symbols.drawCells(painter, box.topLeft(), h, cells, PrintStyle::ThinLine * mm);
            } else if (kind == SymbolKind::MapSymbol) {
                symbols.drawMapSymbol(painter, box, value, PrintStyle::ThinLine * mm);
            } else if (value < CellItem::FirstLibraryNumber) {
                // the glyph in a framed cell, as on a sheet
                box.setWidth(h);
                painter.setPen(QPen(Qt::black, PrintStyle::ThinLine * mm));
                painter.drawRect(box);
                symbols.drawGlyph(painter, box.adjusted(h * 0.06, h * 0.06, -h * 0.06, -h * 0.06), value);
            } else {
                symbols.drawInstruction(painter, box, value);
            }
            painter.setPen(Qt::black);
            painter.setFont(PrintStyle::font(PrintStyle::SmallSize));
            const qreal left = box.right() + Gap * mm;
            PrintStyle::drawWrapped(painter, QRectF(left, place.top(), place.right() - left, place.height()),
                                    name);
        });
    }
    return printout;
}
