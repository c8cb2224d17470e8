// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/SymbolPainter.h"

#include "content/PictureLibrary.h"
#include "platform/AppError.h"
#include "platform/FontRegistry.h"

#include <QPainter>

namespace {
// The drawing box of a glyph in font units of a 1000-unit em: x 60..940 of the advance, y from 740
// above the baseline to 140 below it (the font builder's mapping of its drawings).
constexpr qreal BoxPerEm = 0.88;
constexpr qreal BoxCentreAboveBaseline = 0.30;
} // namespace

SymbolPainter::SymbolPainter()
{
    const QString family = QString::fromLatin1(SymbolFontFamily);
    m_fontFile = FontRegistry::requireFamily(QString::fromLatin1(SymbolFontFile), family);
    m_font = QFont(family);
    // a glyph missing from the symbol font must not be drawn from another font
    m_font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferOutline));
}

void SymbolPainter::requireGlyphs(const QList<qint32>& codes) const
{
    QList<uint> chars;
    for (const qint32 code : codes)
        chars.append(uint(code & 0xFF));
    const QList<uint> missing = FontRegistry::missingGlyphs(m_font, chars);
    if (!missing.isEmpty())
        throw AppError(QString::fromLatin1(Msg::FontLacksSymbols), {QString::number(missing.first())})
            .inFile(m_fontFile);
}

void SymbolPainter::drawGlyph(QPainter& painter, const QRectF& box, qint32 code) const
{
    const qreal em = std::min(box.width(), box.height()) / BoxPerEm;
    QFont font = m_font;
    font.setPixelSize(std::max(1, qRound(em)));
    painter.setFont(font);
    const QPointF baseline(box.center().x() - em / 2, box.center().y() + em * BoxCentreAboveBaseline);
    painter.drawText(baseline, QString(QChar(char16_t(code & 0xFF))));
}

void SymbolPainter::drawPicture(QPainter& painter, const QRectF& box, const QString& name) const
{
    PictureLibrary::require(QString::fromLatin1(PictureLibraryFile)).draw(painter, box, name);
}

void SymbolPainter::drawMapSymbol(QPainter& painter, const QRectF& box, qint32 value, qreal lineWidth) const
{
    drawPicture(painter, box, QStringLiteral("B%1").arg(value));
    painter.setPen(QPen(Qt::black, lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
}

void SymbolPainter::drawInstruction(QPainter& painter, const QRectF& box, qint32 value) const
{
    drawPicture(painter, box, QStringLiteral("V%1").arg(value));
}

void SymbolPainter::drawCells(QPainter& painter, const QPointF& topLeft, qreal cell, const LineCells& cells,
                              qreal lineWidth) const
{
    painter.setPen(QPen(Qt::black, lineWidth));
    painter.setBrush(Qt::NoBrush);
    for (int c = 0; c < SheetColumn::Count; ++c) {
        const QRectF box(topLeft.x() + c * cell, topLeft.y(), cell, cell);
        painter.drawRect(box);
        if (cells[c] != 0)
            drawGlyph(painter, box.adjusted(cell * 0.06, cell * 0.06, -cell * 0.06, -cell * 0.06), cells[c]);
    }
}
