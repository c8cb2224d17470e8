// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TrendChart.h"

#include "platform/Clock.h"

#include <QDate>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>

namespace {
const QColor ChartBackground(255, 255, 255);
const QColor AxisColour(128, 128, 128);
const QColor GridColour(225, 225, 225);
const QColor RoundDot(120, 150, 220);
const QColor DayLine(0, 0, 128);
constexpr int Margin = 6;
constexpr int YLabelWidth = 34;
constexpr int XLabelHeight = 16;
constexpr int DotRadius = 2;
constexpr int YTicks = 4;

// The smallest of 1, 2, 2.5, 5 or 10 times a power of ten that is at least `step`, so that the
// axis's ticks fall on round numbers.
double roundStep(double step)
{
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    for (const double factor : {1.0, 2.0, 2.5, 5.0})
        if (factor * power >= step)
            return factor * power;
    return 10 * power;
}

} // namespace

QString TrendChart::dayLabel(double day)
{
    return QLocale().toString(dateOfDays(day), QStringLiteral("d MMM"));
}

TrendChart::TrendChart(QWidget* parent) : QWidget(parent) {}

void TrendChart::setSeries(const QString& title, const QList<QPointF>& points, double yMin, double yMax,
                           const QString& emptyText)
{
    m_title = title;
    m_emptyText = emptyText;
    m_points = points;
    std::sort(m_points.begin(), m_points.end(),
              [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    std::map<qint64, std::pair<double, int>> days;
    for (const QPointF& p : std::as_const(m_points)) {
        auto& [sum, count] = days[static_cast<qint64>(std::floor(p.x()))];
        sum += p.y();
        ++count;
    }
    m_dayMeans.clear();
    for (const auto& [day, sumCount] : days)
        m_dayMeans.append(QPointF(double(day), sumCount.first / sumCount.second));
    m_yMin = yMin;
    m_yMax = yMax;
    if (m_yMax <= m_yMin) {
        double top = m_yMin;
        for (const QPointF& p : std::as_const(m_points))
            top = std::max(top, p.y());
        m_yMax = m_yMin + roundStep((top > m_yMin ? top - m_yMin : 1) / YTicks) * YTicks;
    }
    update();
}

void TrendChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ChartBackground);
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect titleRect(Margin, Margin, width() - 2 * Margin, metrics.height());
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, m_title);
    const QRect plot(Margin + YLabelWidth, titleRect.bottom() + Margin, width() - 2 * Margin - YLabelWidth,
                     height() - titleRect.bottom() - 2 * Margin - XLabelHeight);
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    if (m_points.isEmpty()) {
        painter.setPen(AxisColour);
        painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
        return;
    }
    // x runs over whole days, from the first round's day to the day after the last
    const double x0 = std::floor(m_points.first().x());
    const double x1 = std::max(std::floor(m_points.last().x()) + 1, x0 + 1);
    const auto toScreen = [&](QPointF p) {
        const double fx = (p.x() - x0) / (x1 - x0);
        const double fy = (std::clamp(p.y(), m_yMin, m_yMax) - m_yMin) / (m_yMax - m_yMin);
        return QPointF(plot.left() + fx * plot.width(), plot.bottom() - fy * plot.height());
    };
    for (int t = 0; t <= YTicks; ++t) {
        const double v = m_yMin + (m_yMax - m_yMin) * t / YTicks;
        const qreal y = toScreen(QPointF(x0, v)).y();
        painter.setPen(GridColour);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(AxisColour);
        painter.drawText(QRectF(Margin, y - metrics.height() / 2.0, YLabelWidth - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'g', 4));
    }
    painter.setPen(AxisColour);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    const QRect xLabels(plot.left(), plot.bottom() + 2, plot.width(), XLabelHeight);
    painter.drawText(xLabels, Qt::AlignLeft | Qt::AlignTop, dayLabel(x0));
    if (x1 - x0 > 1)
        painter.drawText(xLabels, Qt::AlignRight | Qt::AlignTop, dayLabel(x1 - 1));

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(RoundDot);
    // years of rounds make thousands of dots; a dot on a pixel already drawn is drawn once
    QSet<quint64> drawn;
    for (const QPointF& p : std::as_const(m_points)) {
        const QPointF at = toScreen(p);
        const quint64 pixel = quint64(quint32(qRound(at.x()))) << 32 | quint32(qRound(at.y()));
        if (!drawn.contains(pixel)) {
            drawn.insert(pixel);
            painter.drawEllipse(at, DotRadius, DotRadius);
        }
    }
    // the day means stand in the middle of their day
    QPainterPath line;
    for (qsizetype i = 0; i < m_dayMeans.size(); ++i) {
        const QPointF at = toScreen(QPointF(m_dayMeans[i].x() + 0.5, m_dayMeans[i].y()));
        if (i == 0)
            line.moveTo(at);
        else
            line.lineTo(at);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(DayLine, 2));
    painter.drawPath(line);
    if (m_dayMeans.size() == 1)
        painter.drawEllipse(toScreen(QPointF(m_dayMeans[0].x() + 0.5, m_dayMeans[0].y())), 3, 3);
}
