// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// A percentage display: text only, a horizontal or vertical bar, a pie that grows clockwise from
// twelve o'clock, or a needle. The main window's gauge is a pie of the cells found so far.
//
// MinValue and MaxValue refuse to cross each other with an AppError ("Value must be between %d and
// %d"), except while the gauge is being loaded from its screen description (setLoading).
class TGauge : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(Kind Kind READ kind WRITE setKind)
    Q_PROPERTY(int MinValue READ minValue WRITE setMinValue)
    Q_PROPERTY(int MaxValue READ maxValue WRITE setMaxValue)
    Q_PROPERTY(int Progress READ progress WRITE setProgress NOTIFY progressChanged)
    Q_PROPERTY(bool ShowText READ showText WRITE setShowText)
    Q_PROPERTY(BorderStyle BorderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(QColor ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(int PercentDone READ percentDone)

public:
    enum Kind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
    Q_ENUM(Kind)
    enum BorderStyle { bsNone, bsSingle };
    Q_ENUM(BorderStyle)

    explicit TGauge(QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    void setKind(Kind kind);
    int minValue() const { return m_minValue; }
    void setMinValue(int value);
    int maxValue() const { return m_maxValue; }
    void setMaxValue(int value);
    int progress() const { return m_progress; }
    // Clamped to MinValue..MaxValue; repaints only when PercentDone changes.
    void setProgress(int value);
    bool showText() const { return m_showText; }
    void setShowText(bool on);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor& color);
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor& color);
    // The fill around the pie and the needle; follows the parent's background until set (an
    // invalid colour goes back to the parent's).
    QColor color() const;
    void setColor(const QColor& color);

    // (Progress - MinValue) * 100 / (MaxValue - MinValue), truncated; 0 for an empty range.
    int percentDone() const;

    // The screen loader sets this around loading: the range is not checked meanwhile.
    void setLoading(bool loading) { m_loading = loading; }
    bool isLoading() const { return m_loading; }

    // How often a property change asked for a repaint (for the tests of the repaint rules).
    int repaintRequests() const { return m_repaintRequests; }

    QSize sizeHint() const override;

signals:
    void progressChanged(int progress);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage compose() const;
    QRect paintRect() const;
    void paintPie(QPainter& painter, const QRect& area) const;
    void paintBar(QPainter& painter, const QRect& area) const;
    void paintNeedle(QPainter& painter, const QRect& area) const;
    void paintText(QImage& image, const QRect& area) const;
    void refresh();

    Kind m_kind = gkHorizontalBar;
    int m_minValue = 0;
    int m_maxValue;
    int m_progress = 0;
    bool m_showText = true;
    BorderStyle m_borderStyle = bsSingle;
    QColor m_foreColor;
    QColor m_backColor;
    QColor m_color; // invalid: the parent's background
    bool m_loading = false;
    int m_repaintRequests = 0;
};
