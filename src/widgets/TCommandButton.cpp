// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TCommandButton.h"

#include "platform/SystemColors.h"
#include "widgets/TFont3D.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr QSize kDefaultSize(130, 25);
constexpr int kDefaultRoundSize = 20;

constexpr QRgb kFaceColor = qRgb(255, 255, 164);      // light yellow
constexpr QRgb kDefaultLedNormal = qRgb(0, 0, 128);   // navy: mouse outside
constexpr QRgb kDefaultLedIn = qRgb(0, 255, 255);     // aqua: mouse inside, button held
constexpr QRgb kDefaultLedOut = qRgb(0, 128, 128);    // teal: mouse inside, button not held
constexpr QRgb kDefaultBorderColor = qRgb(0, 0, 0);   // outline while the mouse is outside
constexpr QRgb kLampGlossLight = qRgb(192, 192, 192); // silver
constexpr QRgb kLampGlossDark = qRgb(128, 128, 128);  // grey

// Rings of the face, counted in from the widget's edge.
constexpr int kOutlineInset = 2; // the outline drawn last, just outside the face
constexpr int kFaceInset = 3;    // the face; outside it the parent shows through
// The dashed focus frame lies this far inside the button.
constexpr qreal kFocusInset = 3.5;

// The lamp: a 10-pixel circle 7 pixels from the left edge, centred vertically.
constexpr int kLampLeft = 7;
constexpr int kLampSize = 10;
// The caption sits this far right of the centre, leaving room for the lamp.
constexpr int kCaptionShift = 7;

// Gloss pixels of the lamp, relative to its corner (x0, y0).
constexpr QPoint kLampLightPixels[] = {QPoint(4, 1), QPoint(5, 1), QPoint(6, 1), QPoint(7, 1), QPoint(3, 2),
                                       QPoint(8, 2), QPoint(2, 3), QPoint(1, 4), QPoint(1, 5), QPoint(1, 6),
                                       QPoint(1, 7), QPoint(2, 8),
                                       // the highlight spot inside
                                       QPoint(4, 3), QPoint(3, 4), QPoint(4, 4), QPoint(5, 4), QPoint(4, 5)};
constexpr QPoint kLampDarkPixels[] = {QPoint(9, 3),  QPoint(10, 4), QPoint(10, 5), QPoint(10, 6),
                                      QPoint(10, 7), QPoint(9, 8),  QPoint(3, 9),  QPoint(8, 9),
                                      QPoint(4, 10), QPoint(5, 10), QPoint(6, 10), QPoint(7, 10)};

// "&" marks the Alt letter of a caption, drawn underlined ("&&" is an ampersand).
constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip | Qt::TextShowMnemonic;

// The caption as it reads, without the marks of its Alt letter.
QString withoutMnemonic(const QString& caption)
{
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

// The rectangle whose one-pixel aliased outline covers the pixels left..right-1, top..bottom-1.
QRectF outlineRect(int left, int top, int right, int bottom)
{
    return QRectF(left, top, right - left - 1, bottom - top - 1);
}

} // namespace

TCommandButton::TCommandButton(QWidget* parent)
    : QWidget(parent), m_ledNormal(kDefaultLedNormal), m_ledIn(kDefaultLedIn), m_ledOut(kDefaultLedOut),
      m_borderColor(kDefaultBorderColor), m_roundSize(kDefaultRoundSize), m_font3D(new TFont3D(this))
{
    setFocusPolicy(Qt::NoFocus);
    resize(kDefaultSize);
    connect(m_font3D, &TFont3D::changed, this, qOverload<>(&QWidget::update));
}

QSize TCommandButton::sizeHint() const
{
    return kDefaultSize;
}

void TCommandButton::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    // a screen reader names the button by its caption
    setAccessibleName(withoutMnemonic(caption));
    update();
}

void TCommandButton::setLedNormal(const QColor& color)
{
    if (color == m_ledNormal)
        return;
    m_ledNormal = color;
    update();
}

void TCommandButton::setLedIn(const QColor& color)
{
    if (color == m_ledIn)
        return;
    m_ledIn = color;
    update();
}

void TCommandButton::setLedOut(const QColor& color)
{
    if (color == m_ledOut)
        return;
    m_ledOut = color;
    update();
}

void TCommandButton::setBorderColor(const QColor& color)
{
    if (color == m_borderColor)
        return;
    m_borderColor = color;
    update();
}

void TCommandButton::setRoundSize(int size)
{
    if (size == m_roundSize)
        return;
    m_roundSize = size;
    update();
}

void TCommandButton::setBackground(const QBrush& brush)
{
    if (brush == m_background)
        return;
    m_background = brush;
    update();
}

// The flattened caption style forwards to the style object, which signals the repaint.
bool TCommandButton::font3DThreeDimensional() const
{
    return m_font3D->threeDimensional();
}
void TCommandButton::setFont3DThreeDimensional(bool on)
{
    m_font3D->setThreeDimensional(on);
}
TCommandButton::Style3D TCommandButton::font3DStyle3D() const
{
    return m_font3D->style3D();
}
void TCommandButton::setFont3DStyle3D(Style3D style)
{
    m_font3D->setStyle3D(style);
}
QColor TCommandButton::font3DHighlight() const
{
    return m_font3D->highlight();
}
void TCommandButton::setFont3DHighlight(const QColor& color)
{
    m_font3D->setHighlight(color);
}
QColor TCommandButton::font3DShadow() const
{
    return m_font3D->shadow();
}
void TCommandButton::setFont3DShadow(const QColor& color)
{
    m_font3D->setShadow(color);
}
int TCommandButton::font3DOffset() const
{
    return m_font3D->offset();
}
void TCommandButton::setFont3DOffset(int offset)
{
    m_font3D->setOffset(offset);
}
TCommandButton::Repetition TCommandButton::font3DRepetition() const
{
    return m_font3D->repetition();
}
void TCommandButton::setFont3DRepetition(Repetition repetition)
{
    m_font3D->setRepetition(repetition);
}
QColor TCommandButton::font3DRepetitionColor() const
{
    return m_font3D->repetitionColor();
}
void TCommandButton::setFont3DRepetitionColor(const QColor& color)
{
    m_font3D->setRepetitionColor(color);
}
int TCommandButton::font3DRepetitionwidth() const
{
    return m_font3D->repetitionwidth();
}
void TCommandButton::setFont3DRepetitionwidth(int width)
{
    m_font3D->setRepetitionwidth(width);
}
bool TCommandButton::font3DMaskFont() const
{
    return m_font3D->maskFont();
}
void TCommandButton::setFont3DMaskFont(bool on)
{
    m_font3D->setMaskFont(on);
}

void TCommandButton::enterEvent(QEnterEvent* event)
{
    m_mouseInside = true;
    m_pressOffset = m_pressed ? 1 : 0;
    update();
    QWidget::enterEvent(event);
}

void TCommandButton::leaveEvent(QEvent* event)
{
    m_mouseInside = false;
    m_pressOffset = 0;
    update();
    QWidget::leaveEvent(event);
}

void TCommandButton::mousePressEvent(QMouseEvent* event)
{
    // Any mouse button holds the button down; only the left one makes a click.
    if (!m_pressed) {
        m_pressed = true;
        m_pressOffset = 1;
        update();
    }
    if (event->button() == Qt::LeftButton)
        m_clickArmed = true;
    event->accept();
}

void TCommandButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressed) {
        m_pressed = false;
        m_pressOffset = 0;
        update();
    }
    if (event->button() == Qt::LeftButton && m_clickArmed) {
        m_clickArmed = false;
        if (rect().contains(event->position().toPoint()))
            emit clicked();
    }
    event->accept();
}

void TCommandButton::changeEvent(QEvent* event)
{
    // A button disabled while held never sees its release; it must not stay held.
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        const bool inside = m_mouseInside;
        resetMouseState();
        m_mouseInside = inside;
    }
    QWidget::changeEvent(event);
}

void TCommandButton::hideEvent(QHideEvent* event)
{
    resetMouseState();
    QWidget::hideEvent(event);
}

void TCommandButton::resetMouseState()
{
    m_mouseInside = false;
    m_pressed = false;
    m_pressOffset = 0;
    m_clickArmed = false;
    update();
}

void TCommandButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), compose());
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::WindowText), 1, Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset),
                                m_roundSize / 2.0, m_roundSize / 2.0);
    }
}

void TCommandButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (isEnabled() && (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        event->accept();
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TCommandButton::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void TCommandButton::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

QImage TCommandButton::compose() const
{
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    paintFace(painter);
    paintLamp(painter);
    paintCaption(painter, &image);
    paintOutline(painter);
    return image;
}

void TCommandButton::paintFace(QPainter& painter) const
{
    const int w = width();
    const int h = height();
    const qreal radius = m_roundSize / 2.0;

    QPainterPath face;
    face.addRoundedRect(QRectF(kFaceInset, kFaceInset, w - 2 * kFaceInset, h - 2 * kFaceInset), radius,
                        radius);

    painter.save();
    painter.setClipPath(face);
    painter.fillRect(rect(), m_background.style() == Qt::NoBrush ? QBrush(QColor(kFaceColor)) : m_background);

    // Two offset rings give the face its edge; of each only the side inside the face shows.
    const QColor light = SystemColors::buttonHighlight(palette());
    const QColor buttonFace = SystemColors::buttonFace(palette());
    painter.setBrush(Qt::NoBrush);
    painter.setPen(m_pressed ? buttonFace : light);
    painter.drawRoundedRect(outlineRect(kOutlineInset, kOutlineInset, w - kFaceInset, h - kFaceInset), radius,
                            radius);
    painter.setPen(m_pressed ? light : buttonFace);
    painter.drawRoundedRect(outlineRect(kFaceInset, kFaceInset, w - 1, h - 1), radius, radius);
    painter.restore();
}

void TCommandButton::paintLamp(QPainter& painter) const
{
    const int x0 = kLampLeft + m_pressOffset;
    const int y0 = (height() - kLampSize) / 2 + m_pressOffset;
    const QColor lamp = !m_mouseInside ? m_ledNormal : (m_pressed ? m_ledIn : m_ledOut);

    painter.save();
    painter.setPen(lamp);
    painter.setBrush(lamp);
    painter.drawEllipse(outlineRect(x0 + 1, y0 + 1, x0 + kLampSize + 1, y0 + kLampSize + 1));
    for (const QPoint& pixel : kLampLightPixels)
        painter.fillRect(QRect(x0 + pixel.x(), y0 + pixel.y(), 1, 1), QColor(kLampGlossLight));
    for (const QPoint& pixel : kLampDarkPixels)
        painter.fillRect(QRect(x0 + pixel.x(), y0 + pixel.y(), 1, 1), QColor(kLampGlossDark));
    painter.restore();
}

void TCommandButton::paintCaption(QPainter& painter, const QPaintDevice* device) const
{
    const QFontMetrics metrics(font(), device);
    const int textWidth = metrics.horizontalAdvance(withoutMnemonic(m_caption));
    const int textHeight = metrics.height();
    const int spread = m_font3D->offset() + m_font3D->repetitionwidth();
    const int left = (width() - textWidth) / 2 + kCaptionShift + m_pressOffset - spread;
    const int top = (height() - textHeight) / 2 + m_pressOffset - spread;
    QRect place(left, top, textWidth + 2 * spread, textHeight + 2 * spread);

    painter.save();
    painter.setFont(font());
    if (isEnabled()) {
        m_font3D->draw(painter, place, m_caption, palette().color(QPalette::ButtonText));
    } else {
        // Embossed: a light copy with the grey caption one pixel up and left over it.
        painter.setPen(SystemColors::buttonHighlight(palette()));
        painter.drawText(place, kCaptionFlags, m_caption);
        place.translate(-1, -1);
        painter.setPen(SystemColors::grayText(palette()));
        painter.drawText(place, kCaptionFlags, m_caption);
    }
    painter.restore();
}

void TCommandButton::paintOutline(QPainter& painter) const
{
    const qreal radius = m_roundSize / 2.0;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(m_mouseInside ? SystemColors::buttonHighlight(palette()) : m_borderColor);
    painter.drawRoundedRect(
        outlineRect(kOutlineInset, kOutlineInset, width() - kOutlineInset, height() - kOutlineInset), radius,
        radius);
    painter.restore();
}
