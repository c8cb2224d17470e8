// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "learning/QuizDirection.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>

// The pictures of the quick quiz (and of the progress view): a description symbol drawn in the
// symbol font, in black as on a printed sheet unless told otherwise, on no ground (so that an answer's tint
// shows through); a special instruction of the sheet from the picture library; a map symbol's picture "B<n>",
// a whole line "V<n>", its map excerpt "I<n>" and its sketch of the ground "N<n>". Drawn symbols are kept.
class QuizPictures
{
public:
    // Symbols are drawn in `ink` for a screen of `devicePixelRatio`, so that they stay sharp when
    // scaled.
    explicit QuizPictures(const QFont& symbolFont, qreal devicePixelRatio = 1, const QColor& ink = Qt::black);

    // The picture of a symbol shown `face`; a null image when it cannot be had (the content checks
    // report such a picture; the quiz goes on without it). A symbol of the font is drawn `scale`
    // times its usual size; the library's pictures come at their own size.
    QImage picture(SymbolKind kind, qint32 value, QuizFace face, qreal scale = 1) const;

    // The square a description symbol is drawn in, and the symbol's height in it.
    static constexpr int GlyphBox = 80;
    static constexpr int GlyphPixelSize = 64;

private:
    QImage glyph(qint32 code, qreal scale) const;

    QFont m_font;
    qreal m_ratio = 1;
    QColor m_ink;
    mutable QHash<QPair<qint32, qreal>, QImage> m_glyphs;
};
