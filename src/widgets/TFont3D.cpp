// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TFont3D.h"

#include "platform/SystemColors.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <array>

namespace {

// "&" marks the Alt letter of a caption, drawn underlined ("&&" is an ampersand).
constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip | Qt::TextShowMnemonic;

// The four diagonal places of the outline copies, around the caption's own place.
constexpr std::array<QPoint, 4> kOutlineOffsets{QPoint(-1, -1), QPoint(1, -1), QPoint(1, 1), QPoint(-1, 1)};

void drawCopy(QPainter& painter, const QRect& rect, const QString& text, const QColor& color)
{
    painter.setPen(color);
    painter.drawText(rect, kCaptionFlags, text);
}

} // namespace

TFont3D::TFont3D(QObject* parent) : QObject(parent), m_repetitionColor(Qt::black) {}

QPalette TFont3D::ownerPalette() const
{
    if (const auto* owner = qobject_cast<const QWidget*>(parent()))
        return owner->palette();
    return QGuiApplication::palette();
}

void TFont3D::setThreeDimensional(bool on)
{
    if (on == m_threeDimensional)
        return;
    m_threeDimensional = on;
    emit changed();
}

void TFont3D::setStyle3D(TCommandButton::Style3D style)
{
    if (style == m_style3D)
        return;
    m_style3D = style;
    emit changed();
}

QColor TFont3D::highlight() const
{
    return m_highlight.isValid() ? m_highlight : SystemColors::buttonHighlight(ownerPalette());
}

void TFont3D::setHighlight(const QColor& color)
{
    if (color == m_highlight)
        return;
    m_highlight = color;
    emit changed();
}

QColor TFont3D::shadow() const
{
    return m_shadow.isValid() ? m_shadow : SystemColors::buttonShadow(ownerPalette());
}

void TFont3D::setShadow(const QColor& color)
{
    if (color == m_shadow)
        return;
    m_shadow = color;
    emit changed();
}

void TFont3D::setOffset(int offset)
{
    // A style without an offset would draw its copies under the caption: 0 is ignored.
    if (offset < 1)
        return;
    offset = std::min(offset, MaxByteValue);
    if (offset == m_offset)
        return;
    m_offset = offset;
    emit changed();
}

void TFont3D::setRepetition(TCommandButton::Repetition repetition)
{
    if (repetition == m_repetition)
        return;
    m_repetition = repetition;
    emit changed();
}

void TFont3D::setRepetitionColor(const QColor& color)
{
    if (color == m_repetitionColor)
        return;
    m_repetitionColor = color;
    emit changed();
}

void TFont3D::setRepetitionwidth(int width)
{
    width = std::clamp(width, 0, MaxByteValue);
    if (width == m_repetitionwidth)
        return;
    m_repetitionwidth = width;
    emit changed();
}

void TFont3D::setMaskFont(bool on)
{
    if (on == m_maskFont)
        return;
    m_maskFont = on;
    emit changed();
}

void TFont3D::draw(QPainter& painter, const QRect& rect, const QString& text, const QColor& textColor) const
{
    painter.save();
    if (!m_threeDimensional) {
        drawCopy(painter, rect, text, textColor);
        painter.restore();
        return;
    }

    QRect place = rect;
    // The extrusion walks towards the caption; the caption and its copies are drawn where the
    // walk ends, so a wide extrusion moves the caption itself.
    if (m_repetition != TCommandButton::repeatNone) {
        const int copies = m_repetitionwidth;
        place.adjust(copies, copies, -copies, -copies);
        const int step = m_repetition == TCommandButton::repeatOnHighLight ? 1 : -1;
        place.translate(-step * m_offset, -step * m_offset);
        for (int i = 0; i < copies; ++i) {
            drawCopy(painter, place, text, m_repetitionColor);
            place.translate(step, step);
        }
    }

    if (m_style3D == TCommandButton::fontOutLineShadow) {
        const QColor outline = shadow();
        for (const QPoint& offset : kOutlineOffsets)
            drawCopy(painter, place.translated(offset), text, outline);
    } else {
        const bool inset = m_style3D == TCommandButton::fontInset;
        place.translate(-m_offset, -m_offset);
        if (m_style3D != TCommandButton::fontOnlyShadow)
            drawCopy(painter, place, text, inset ? shadow() : highlight());
        place.translate(2 * m_offset, 2 * m_offset);
        if (m_style3D != TCommandButton::fontOnlyHighlight)
            drawCopy(painter, place, text, inset ? highlight() : shadow());
        place.translate(-m_offset, -m_offset);
    }
    drawCopy(painter, place, text, textColor);
    painter.restore();
}
