// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/QuizPictures.h"

#include "content/PictureLibrary.h"
#include "game/CellItem.h"
#include "platform/AppError.h"
#include "results/AnswerStore.h"

#include <QPainter>

namespace {
constexpr char PictureLibraryFile[] = "Bitm1.dll";

QString libraryName(SymbolKind kind, qint32 value, QuizFace face)
{
    QString prefix;
    if (kind == SymbolKind::MapSymbol)
        prefix = QStringLiteral("B");
    else if (face == QuizFace::MapExcerpt)
        prefix = QStringLiteral("I");
    else if (face == QuizFace::GroundSketch)
        prefix = QStringLiteral("N");
    else
        prefix = QStringLiteral("V");
    return prefix + QString::number(value);
}
} // namespace

QuizPictures::QuizPictures(const QFont& symbolFont, qreal devicePixelRatio, const QColor& ink)
    : m_font(symbolFont), m_ratio(devicePixelRatio > 0 ? devicePixelRatio : 1), m_ink(ink)
{
    m_font.setPixelSize(GlyphPixelSize);
    // a glyph missing from the symbol font must not be drawn from another font
    m_font.setStyleStrategy(QFont::StyleStrategy(m_font.styleStrategy() | QFont::NoFontMerging));
}

QImage QuizPictures::picture(SymbolKind kind, qint32 value, QuizFace face, qreal scale) const
{
    if (kind == SymbolKind::Description && value < CellItem::FirstLibraryNumber)
        return glyph(value, scale > 0 ? scale : 1);
    try {
        const PictureLibrary* library = PictureLibrary::open(QString::fromLatin1(PictureLibraryFile));
        const QString name = libraryName(kind, value, face);
        return library && library->contains(name) ? library->picture(name) : QImage();
    } catch (const AppError&) {
        return {};
    }
}

QImage QuizPictures::glyph(qint32 code, qreal scale) const
{
    if (const auto kept = m_glyphs.constFind({code, scale}); kept != m_glyphs.cend())
        return *kept;
    const int box = qRound(GlyphBox * scale);
    const int side = qRound(box * m_ratio);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(m_ratio);
    image.fill(Qt::transparent);
    QFont font = m_font;
    font.setPixelSize(qRound(GlyphPixelSize * scale));
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(m_ink);
    painter.drawText(QRect(0, 0, box, box), Qt::AlignCenter,
                     QString(QChar(static_cast<char16_t>(code & 0xFF))));
    painter.end();
    m_glyphs.insert({code, scale}, image);
    return image;
}
