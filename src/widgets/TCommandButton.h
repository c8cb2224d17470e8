// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

class TFont3D;

// The painted command button of the main window's right panel: a rounded light-yellow face, an
// indicator lamp at the left whose colour follows the mouse, and a caption drawn by the button's
// caption style object (TFont3D). It takes no keyboard focus and reacts to the mouse only.
//
// System colours come from the widget's palette: button face = QPalette::Button, button highlight
// = QPalette::Light, button shadow = QPalette::Dark, grey text = QPalette::Disabled ButtonText.
// The caption is drawn in font() and the palette's ButtonText colour.
class TCommandButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QColor LedNormal READ ledNormal WRITE setLedNormal)
    Q_PROPERTY(QColor LedIn READ ledIn WRITE setLedIn)
    Q_PROPERTY(QColor LedOut READ ledOut WRITE setLedOut)
    Q_PROPERTY(QColor BorderColor READ borderColor WRITE setBorderColor)
    Q_PROPERTY(int RoundSize READ roundSize WRITE setRoundSize)
    Q_PROPERTY(QBrush Background READ background WRITE setBackground)
    // The caption style, flattened for the screen descriptions; each forwards to Font3D().
    Q_PROPERTY(bool Font3DThreeDimensional READ font3DThreeDimensional WRITE setFont3DThreeDimensional)
    Q_PROPERTY(Style3D Font3DStyle3D READ font3DStyle3D WRITE setFont3DStyle3D)
    Q_PROPERTY(QColor Font3DHighlight READ font3DHighlight WRITE setFont3DHighlight)
    Q_PROPERTY(QColor Font3DShadow READ font3DShadow WRITE setFont3DShadow)
    Q_PROPERTY(int Font3DOffset READ font3DOffset WRITE setFont3DOffset)
    Q_PROPERTY(Repetition Font3DRepetition READ font3DRepetition WRITE setFont3DRepetition)
    Q_PROPERTY(QColor Font3DRepetitionColor READ font3DRepetitionColor WRITE setFont3DRepetitionColor)
    Q_PROPERTY(int Font3DRepetitionwidth READ font3DRepetitionwidth WRITE setFont3DRepetitionwidth)
    Q_PROPERTY(bool Font3DMaskFont READ font3DMaskFont WRITE setFont3DMaskFont)

public:
    // The caption's three-dimensional looks (see TFont3D).
    enum Style3D { fontRaised, fontInset, fontOnlyShadow, fontOnlyHighlight, fontOutLineShadow };
    Q_ENUM(Style3D)
    // Where the caption's extrusion copies go.
    enum Repetition { repeatOnShadow, repeatOnHighLight, repeatNone };
    Q_ENUM(Repetition)

    explicit TCommandButton(QWidget* parent = nullptr);

    // The caption may mark its Alt letter with "&", which is drawn underlined.
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    QColor ledNormal() const { return m_ledNormal; }
    void setLedNormal(const QColor& color);
    QColor ledIn() const { return m_ledIn; }
    void setLedIn(const QColor& color);
    QColor ledOut() const { return m_ledOut; }
    void setLedOut(const QColor& color);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    int roundSize() const { return m_roundSize; }
    void setRoundSize(int size);
    // An optional fill of the face (gradient, texture, solid colour); Qt::NoBrush means none.
    QBrush background() const { return m_background; }
    void setBackground(const QBrush& brush);

    // The caption style object, owned by the button; its changes repaint the button.
    TFont3D* Font3D() const { return m_font3D; }

    bool font3DThreeDimensional() const;
    void setFont3DThreeDimensional(bool on);
    Style3D font3DStyle3D() const;
    void setFont3DStyle3D(Style3D style);
    QColor font3DHighlight() const;
    void setFont3DHighlight(const QColor& color);
    QColor font3DShadow() const;
    void setFont3DShadow(const QColor& color);
    int font3DOffset() const;
    void setFont3DOffset(int offset);
    Repetition font3DRepetition() const;
    void setFont3DRepetition(Repetition repetition);
    QColor font3DRepetitionColor() const;
    void setFont3DRepetitionColor(const QColor& color);
    int font3DRepetitionwidth() const;
    void setFont3DRepetitionwidth(int width);
    bool font3DMaskFont() const;
    void setFont3DMaskFont(bool on);

    // Mouse state.
    bool MouseInside() const { return m_mouseInside; }
    bool Pressed() const { return m_pressed; }
    // Shift of lamp and caption while the button is held: 0 or 1 pixel.
    int PressOffset() const { return m_pressOffset; }

    QSize sizeHint() const override;

signals:
    // A mouse release over the button after a left press on it.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Space and Return press a button that has the focus; the focus is drawn as a dashed frame.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QImage compose() const;
    void paintFace(QPainter& painter) const;
    void paintLamp(QPainter& painter) const;
    void paintCaption(QPainter& painter, const QPaintDevice* device) const;
    void paintOutline(QPainter& painter) const;
    void resetMouseState();

    QString m_caption;
    QColor m_ledNormal;
    QColor m_ledIn;
    QColor m_ledOut;
    QColor m_borderColor;
    int m_roundSize;
    QBrush m_background;
    TFont3D* m_font3D;

    bool m_mouseInside = false;
    bool m_pressed = false;
    int m_pressOffset = 0;
    // A left press on the button waits for its release to become a click.
    bool m_clickArmed = false;
};
