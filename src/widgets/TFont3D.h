// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/TCommandButton.h"

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QRect>

class QPainter;

// The caption style of a command button: whether and how the caption gets light and dark copies
// (raised, inset, outlined) and an extrusion of several copies. Owned by its button; every change
// emits changed(), which repaints the button.
//
// Highlight and Shadow default to the owner's button highlight and button shadow colours and follow
// its palette until a colour is set; setting an invalid colour goes back to the system colour.
class TFont3D : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool ThreeDimensional READ threeDimensional WRITE setThreeDimensional NOTIFY changed)
    Q_PROPERTY(TCommandButton::Style3D Style3D READ style3D WRITE setStyle3D NOTIFY changed)
    Q_PROPERTY(QColor Highlight READ highlight WRITE setHighlight NOTIFY changed)
    Q_PROPERTY(QColor Shadow READ shadow WRITE setShadow NOTIFY changed)
    Q_PROPERTY(int Offset READ offset WRITE setOffset NOTIFY changed)
    Q_PROPERTY(TCommandButton::Repetition Repetition READ repetition WRITE setRepetition NOTIFY changed)
    Q_PROPERTY(QColor RepetitionColor READ repetitionColor WRITE setRepetitionColor NOTIFY changed)
    Q_PROPERTY(int Repetitionwidth READ repetitionwidth WRITE setRepetitionwidth NOTIFY changed)
    Q_PROPERTY(bool MaskFont READ maskFont WRITE setMaskFont NOTIFY changed)

public:
    // Offset and Repetitionwidth are stored in a byte.
    static constexpr int MaxByteValue = 255;

    explicit TFont3D(QObject* parent = nullptr);

    bool threeDimensional() const { return m_threeDimensional; }
    void setThreeDimensional(bool on);
    TCommandButton::Style3D style3D() const { return m_style3D; }
    void setStyle3D(TCommandButton::Style3D style);
    QColor highlight() const;
    void setHighlight(const QColor& color);
    QColor shadow() const;
    void setShadow(const QColor& color);
    // At least 1: setting 0 keeps the former value.
    int offset() const { return m_offset; }
    void setOffset(int offset);
    TCommandButton::Repetition repetition() const { return m_repetition; }
    void setRepetition(TCommandButton::Repetition repetition);
    QColor repetitionColor() const { return m_repetitionColor; }
    void setRepetitionColor(const QColor& color);
    int repetitionwidth() const { return m_repetitionwidth; }
    void setRepetitionwidth(int width);
    // Kept for the screen descriptions; it does not change the drawing.
    bool maskFont() const { return m_maskFont; }
    void setMaskFont(bool on);

    // How far the copies reach beyond the plain caption, in total.
    int drawingWidth() const { return 2 * m_offset + m_repetitionwidth; }

    // Draws text centred on one line in rect (unclipped, transparent background) with this style;
    // textColor is the colour of the caption itself. The painter's font is used.
    void draw(QPainter& painter, const QRect& rect, const QString& text, const QColor& textColor) const;

signals:
    void changed();

private:
    QPalette ownerPalette() const;

    bool m_threeDimensional = true;
    TCommandButton::Style3D m_style3D = TCommandButton::fontOnlyHighlight;
    QColor m_highlight; // invalid: the button highlight colour
    QColor m_shadow;    // invalid: the button shadow colour
    int m_offset = 1;
    TCommandButton::Repetition m_repetition = TCommandButton::repeatNone;
    QColor m_repetitionColor;
    int m_repetitionwidth = 0;
    bool m_maskFont = true;
};
