// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>

// A chart of one measure over days: every point a dot at its date-time (x in days), and a line
// through the mean of each day. The y axis runs from `yMin` to `yMax`, or to the largest value when
// `yMax` is not above `yMin`.
class TrendChart : public QWidget
{
    Q_OBJECT
public:
    explicit TrendChart(QWidget* parent = nullptr);

    void setSeries(const QString& title, const QList<QPointF>& points, double yMin, double yMax,
                   const QString& emptyText);
    const QList<QPointF>& points() const { return m_points; }
    // The day means drawn as the line: x is the day (whole days), y the mean.
    const QList<QPointF>& dayMeans() const { return m_dayMeans; }
    // The label of a day on the x axis ("5 Dec"), in the default locale: the program's language.
    static QString dayLabel(double day);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QString m_emptyText;
    QList<QPointF> m_points;
    QList<QPointF> m_dayMeans;
    double m_yMin = 0;
    double m_yMax = 1;
};
