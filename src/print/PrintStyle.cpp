// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintStyle.h"

#include <QPainter>

namespace {
// The screens name Arial; fontconfig gives the font of its measures where Arial is not installed.
constexpr char TextFamily[] = "Arial";
} // namespace

QFont PrintStyle::font(qreal points, bool bold)
{
    QFont f(QString::fromLatin1(TextFamily));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

void PrintStyle::drawWrapped(QPainter& painter, const QRectF& place, const QString& text,
                             Qt::Alignment alignment)
{
    painter.drawText(place, int(alignment) | Qt::TextWordWrap, text);
}
