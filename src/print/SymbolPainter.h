// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/SymbolNotation.h"

#include <QFont>
#include <QList>
#include <QString>

class PictureLibrary;
class QPainter;
class QRectF;
class QPointF;

// Draws the symbols on paper as drawings, sharp at any size: description symbols as characters of
// the symbol font (never taken from another font), pictures of the picture library from their
// drawings, whole lines as a row of cells C to H.
class SymbolPainter
{
public:
    static constexpr char SymbolFontFile[] = "Pictor07.TTF";
    static constexpr char SymbolFontFamily[] = "PictorMarks";
    static constexpr char PictureLibraryFile[] = "Bitm1.dll";

    // The symbol font of the program folder, installed for this process unless it is already.
    // Throws "File not found" or "The symbol font could not be installed" naming the font file.
    SymbolPainter();

    // Throws "The symbol font cannot draw symbol %s" naming the font file when a code lacks its glyph.
    void requireGlyphs(const QList<qint32>& codes) const;
    // The symbol of character `code`, its drawing box filling the square `box`, centred.
    void drawGlyph(QPainter& painter, const QRectF& box, qint32 code) const;
    // A picture of the picture library, fitted into `box`; throws what keeps the library or the
    // picture from use, naming the file.
    void drawPicture(QPainter& painter, const QRectF& box, const QString& name) const;
    // A map symbol's picture in `box`, framed with lines of `lineWidth` so that neighbouring map
    // excerpts do not run into each other.
    void drawMapSymbol(QPainter& painter, const QRectF& box, qint32 value, qreal lineWidth) const;
    // The picture of the sheet's special instruction `value` (990 to 999) in `box`.
    void drawInstruction(QPainter& painter, const QRectF& box, qint32 value) const;
    // Six cells of side `cell` from `topLeft`, framed, with the symbols of `cells` in them.
    void drawCells(QPainter& painter, const QPointF& topLeft, qreal cell, const LineCells& cells,
                   qreal lineWidth) const;

private:
    QFont m_font;
    QString m_fontFile;
};
