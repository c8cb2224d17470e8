// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TGauge.h"

#include "platform/AppError.h"
#include "platform/SystemColors.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr QSize kDefaultSize(100, 100);
constexpr int kDefaultMaxValue = 100;
constexpr QRgb kDefaultForeColor = qRgb(0, 0, 0);
constexpr QRgb kDefaultBackColor = qRgb(255, 255, 255);
constexpr QRgb kTextMaskInk = qRgb(255, 255, 255); // white: inverts what lies under the text
constexpr QRgb kTextMaskPaper = qRgb(0, 0, 0);     // black: leaves the picture as it is

// The refusal's bounds: the lowest value of the message is -MaxInt, not the type's minimum.
constexpr qint64 kLowestBound = -std::numeric_limits<qint32>::max();
constexpr qint64 kHighestBound = std::numeric_limits<qint32>::max();

// Angles as QPainter counts them: sixteenths of a degree, counter-clockwise from three o'clock.
constexpr int kSixteenthsPerDegree = 16;
constexpr double kDegreesPerPercent = 3.6;
constexpr int kTwelveOClock = 90 * kSixteenthsPerDegree;
constexpr int kHalfTurn = 180 * kSixteenthsPerDegree;

// The rectangle whose one-pixel aliased outline covers the pixels left..right-1, top..bottom-1.
QRectF outlineRect(int left, int top, int right, int bottom)
{
    return QRectF(left, top, right - left - 1, bottom - top - 1);
}

int clampedPercent(int percent)
{
    return std::clamp(percent, 0, 100);
}

} // namespace

TGauge::TGauge(QWidget* parent)
    : QWidget(parent), m_maxValue(kDefaultMaxValue), m_foreColor(kDefaultForeColor),
      m_backColor(kDefaultBackColor)
{
    resize(kDefaultSize);
}

QSize TGauge::sizeHint() const
{
    return kDefaultSize;
}

void TGauge::refresh()
{
    ++m_repaintRequests;
    update();
}

void TGauge::setKind(Kind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    refresh();
}

void TGauge::setMinValue(int value)
{
    if (value == m_minValue)
        return;
    if (value > m_maxValue && !m_loading)
        throw AppError(QString::fromLatin1(Msg::ValueOutOfRange),
                       {QString::number(kLowestBound), QString::number(qint64(m_maxValue) - 1)});
    m_minValue = value;
    if (m_progress < value) {
        m_progress = value;
        emit progressChanged(m_progress);
    }
    refresh();
}

void TGauge::setMaxValue(int value)
{
    if (value == m_maxValue)
        return;
    if (value < m_minValue && !m_loading)
        throw AppError(QString::fromLatin1(Msg::ValueOutOfRange),
                       {QString::number(qint64(m_minValue) + 1), QString::number(kHighestBound)});
    m_maxValue = value;
    if (m_progress > value) {
        m_progress = value;
        emit progressChanged(m_progress);
    }
    refresh();
}

void TGauge::setProgress(int value)
{
    const int percentBefore = percentDone();
    // Lower bound first: while loading the bounds may cross, and the upper one then wins.
    if (value < m_minValue)
        value = m_minValue;
    else if (value > m_maxValue)
        value = m_maxValue;
    if (value == m_progress)
        return;
    m_progress = value;
    emit progressChanged(m_progress);
    // A step too small to change the drawing costs no repaint (a 400-cell test, for one).
    if (percentDone() != percentBefore)
        refresh();
}

void TGauge::setShowText(bool on)
{
    if (on == m_showText)
        return;
    m_showText = on;
    refresh();
}

void TGauge::setBorderStyle(BorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    refresh();
}

void TGauge::setForeColor(const QColor& color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    refresh();
}

void TGauge::setBackColor(const QColor& color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    refresh();
}

QColor TGauge::color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Window);
}

void TGauge::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    refresh();
}

int TGauge::percentDone() const
{
    if (m_maxValue == m_minValue)
        return 0;
    // In floating point: the 32-bit differences would overflow in integers.
    const double percent = (double(m_progress) - m_minValue) * 100.0 / (double(m_maxValue) - m_minValue);
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(percent), lowest, highest));
}

QRect TGauge::paintRect() const
{
    return m_borderStyle == bsSingle ? rect().adjusted(1, 1, -1, -1) : rect();
}

void TGauge::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), compose());
}

QImage TGauge::compose() const
{
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(color());

    const QRect area = paintRect();
    {
        QPainter painter(&image);
        if (m_borderStyle == bsSingle) {
            painter.setPen(SystemColors::windowFrame(palette()));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(outlineRect(0, 0, width(), height()));
        }
        switch (m_kind) {
        case gkText:
            painter.fillRect(area, m_backColor);
            break;
        case gkHorizontalBar:
        case gkVerticalBar:
            paintBar(painter, area);
            break;
        case gkPie:
            paintPie(painter, area);
            break;
        case gkNeedle:
            paintNeedle(painter, area);
            break;
        }
    }
    if (m_showText)
        paintText(image, area);
    return image;
}

void TGauge::paintPie(QPainter& painter, const QRect& area) const
{
    // The ellipse ends at the paint area's width and height taken as coordinates (one more with a
    // border), which centres it within a single border.
    const int grow = m_borderStyle == bsSingle ? 1 : 0;
    const QRectF ellipse = outlineRect(area.left(), area.top(), area.width() + grow, area.height() + grow);
    painter.save();
    painter.fillRect(area, color());
    painter.setPen(m_foreColor);
    painter.setBrush(m_backColor);
    painter.drawEllipse(ellipse);

    const int percent = clampedPercent(percentDone());
    if (percent > 0) {
        // The wedge runs clockwise from twelve o'clock; at 100 % it is the whole ellipse.
        const int span = -static_cast<int>(std::lround(percent * kDegreesPerPercent * kSixteenthsPerDegree));
        painter.setBrush(m_foreColor);
        painter.drawPie(ellipse, kTwelveOClock, span);
    }
    painter.restore();
}

void TGauge::paintBar(QPainter& painter, const QRect& area) const
{
    painter.fillRect(area, m_backColor);
    const int percent = clampedPercent(percentDone());
    if (m_kind == gkHorizontalBar) {
        const int length = percent * area.width() / 100;
        if (length >= 1)
            painter.fillRect(QRect(area.left(), area.top(), length, area.height()), m_foreColor);
    } else {
        const int length = percent * area.height() / 100;
        if (length >= 1)
            painter.fillRect(QRect(area.left(), area.bottom() + 1 - length, area.width(), length),
                             m_foreColor);
    }
}

void TGauge::paintNeedle(QPainter& painter, const QRect& area) const
{
    // A half dial over the bottom edge; the needle turns from nine o'clock (0 %) to three (100 %).
    const QRectF dial(area.left(), area.top(), area.width() - 1, 2.0 * area.height() - 2);
    const QPointF hub(dial.center().x(), area.bottom());
    const double angle = std::numbers::pi * clampedPercent(percentDone()) / 100.0;
    const QPointF tip(hub.x() - dial.width() / 2 * std::cos(angle),
                      hub.y() - dial.height() / 2 * std::sin(angle));

    painter.save();
    painter.fillRect(area, color());
    painter.setPen(m_foreColor);
    painter.setBrush(m_backColor);
    painter.drawChord(dial, 0, kHalfTurn);
    painter.drawLine(hub, tip);
    painter.restore();
}

void TGauge::paintText(QImage& image, const QRect& area) const
{
    // The text is inverted into the picture (exclusive or with white), so it reads over both the
    // filled and the empty part. Smoothed edges would turn into stray colours there.
    QImage mask(image.size(), QImage::Format_RGB32);
    mask.setDevicePixelRatio(image.devicePixelRatio());
    mask.fill(kTextMaskPaper);
    {
        QFont textFont = font();
        textFont.setStyleStrategy(QFont::NoAntialias);
        QPainter painter(&mask);
        painter.setFont(textFont);
        painter.setPen(QColor(kTextMaskInk));
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, QString::number(percentDone()) + u'%');
    }
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(QPoint(0, 0), mask);
}
