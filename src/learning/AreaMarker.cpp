// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/AreaMarker.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

AreaMarker::AreaMarker(int tag, Form form, const QColor& outlineColor, QWidget* parent)
    : QWidget(parent), m_tag(tag), m_form(form), m_outlineColor(outlineColor)
{
    // The marker paints only its outline and fill over whatever lies beneath: no background of
    // its own, and hover moves are wanted without a button held.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

void AreaMarker::setFillColor(const QColor& color)
{
    if (color == m_fillColor)
        return;
    m_fillColor = color;
    emit fillColorChanged(m_fillColor);
    update();
}

void AreaMarker::setEmphasis(bool emphasis)
{
    if (emphasis == m_emphasis)
        return;
    m_emphasis = emphasis;
    update();
}

void AreaMarker::paintEvent(QPaintEvent* /*event*/)
{
    if (m_form == Form::Circle)
        paintCircle();
    else
        paintRectangle();
}

void AreaMarker::paintRectangle()
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    const QRect whole = rect();
    const int width = m_emphasis ? EmphasisWidth : RectangleOutlineWidth;
    const QRect inside = whole.adjusted(width, width, -width, -width);
    // Fill and outline do not overlap: each pixel is ANDed once, with one of the two colours.
    if (inside.isValid())
        painter.fillRect(inside, m_fillColor);
    const QRegion outline = QRegion(whole).subtracted(QRegion(inside));
    for (const QRect& band : outline)
        painter.fillRect(band, m_outlineColor);
}

void AreaMarker::paintCircle()
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int width = m_emphasis ? EmphasisWidth : CircleOutlineWidth;
    QPen pen(m_outlineColor, width);
    painter.setPen(pen);
    painter.setBrush(palette().color(QPalette::ToolTipBase));
    const qreal inset = width / 2.0;
    painter.drawEllipse(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

void AreaMarker::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit pressed(this);
}

void AreaMarker::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit hovered(this);
}
