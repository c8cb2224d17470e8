// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

class QPainter;
class QRectF;

// The look of every printout: its text sizes (points), line widths (millimetres) and text font.
namespace PrintStyle {

constexpr qreal TitleSize = 14;
constexpr qreal TextSize = 10;
constexpr qreal SmallSize = 8.5;
constexpr qreal OptionSize = 8;
constexpr qreal ThinLine = 0.2;
constexpr qreal ThickLine = 0.6;

// The text font of the screens (Arial, or the font of its measures), at `points`.
QFont font(qreal points, bool bold = false);

// Text in a rectangle, wrapped at word breaks, in the painter's font and pen.
void drawWrapped(QPainter& painter, const QRectF& place, const QString& text,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

} // namespace PrintStyle
