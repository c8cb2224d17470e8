// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

// One area marker of the page "Learn general": a rectangle or a circle laid over the pictures of
// the description sheet, carrying the tag of the walkthrough step (and quiz item) it belongs to.
//
// A rectangle is drawn in mask mode: its outline and its fill are ANDed with the pixels beneath,
// so a white fill leaves the picture unchanged and a lime fill keeps only its green channel. This
// works because a non-native child widget paints into its parent's backing store after the
// parent and the siblings below it, so the AND meets the picture already there. A circle is drawn
// opaquely with the palette's tooltip colour.
class AreaMarker : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor NOTIFY fillColorChanged)

public:
    enum class Form { Rectangle, Circle };

    static constexpr QColor Navy{0, 0, 128};
    static constexpr QColor White{255, 255, 255};
    static constexpr QColor Lime{0, 255, 0};
    // The quiz's hover, a colour that does not say "right" or "wrong", and its answers.
    static constexpr QColor HoverBlue{170, 215, 255};
    static constexpr QColor WrongRed{255, 150, 150};
    // The walkthrough's tint of the part it explains.
    static constexpr QColor StepTint{255, 225, 140};
    static constexpr int EmphasisWidth = 5;
    static constexpr int RectangleOutlineWidth = 2;
    static constexpr int CircleOutlineWidth = 3;

    AreaMarker(int tag, Form form, const QColor& outlineColor, QWidget* parent);

    int Tag() const { return m_tag; }
    Form form() const { return m_form; }
    QColor outlineColor() const { return m_outlineColor; }

    // The mask fill of a rectangle (white at start). Circles keep the tooltip colour whatever it is.
    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor& color);
    // A thick outline, for the part being explained or the right answer shown.
    void setEmphasis(bool emphasis);
    bool emphasis() const { return m_emphasis; }

signals:
    void fillColorChanged(const QColor& color);
    // Any mouse button pressed on the marker.
    void pressed(AreaMarker* marker);
    // The mouse moved over the marker, with or without a button held.
    void hovered(AreaMarker* marker);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void paintRectangle();
    void paintCircle();

    int m_tag;
    Form m_form;
    QColor m_outlineColor;
    QColor m_fillColor = White;
    bool m_emphasis = false;
};
