// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/QuizChoice.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor Paper(255, 255, 255);
const QColor HoverTint(232, 239, 250);
const QColor Edge(150, 150, 150);
const QColor RightTint(204, 238, 204);
const QColor RightEdge(0, 128, 0);
const QColor WrongTint(255, 205, 205);
const QColor WrongEdge(200, 0, 0);
const QColor BadgeColour(70, 70, 70);
const QColor BadgeText(255, 255, 255);
const QColor DisabledText(120, 120, 120);

constexpr int PlainEdgeWidth = 1;
constexpr int MarkEdgeWidth = 3;
constexpr int AnswerEdgeWidth = 5;
constexpr int Radius = 6;
constexpr int BadgeSize = 22;
constexpr int BadgeMargin = 5;
constexpr int BadgeFontPixels = 13;
// The content keeps clear of the badge on the left and of the edge elsewhere.
constexpr int ContentLeft = BadgeMargin + BadgeSize + 4;
constexpr int ContentMargin = 8;
// A picture is enlarged at most this much, so that a small one does not turn into blurs.
constexpr qreal MaxEnlargement = 2.0;
constexpr QSize Hint(300, 120);

} // namespace

QuizChoice::QuizChoice(QWidget* parent) : QWidget(parent)
{
    // the keys 1 to 4 belong to the quiz, not to a focused answer
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void QuizChoice::setNumber(int number)
{
    if (m_number == number)
        return;
    m_number = number;
    update();
}

void QuizChoice::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_text.clear();
    update();
}

void QuizChoice::setText(const QString& text)
{
    m_text = text;
    m_picture = QImage();
    update();
}

void QuizChoice::setMark(Mark mark)
{
    if (m_mark == mark)
        return;
    m_mark = mark;
    update();
}

QSize QuizChoice::sizeHint() const
{
    return Hint;
}

void QuizChoice::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    QColor fill = Paper;
    QColor edge = Edge;
    int edgeWidth = PlainEdgeWidth;
    switch (m_mark) {
    case Mark::Right:
        fill = RightTint;
        edge = RightEdge;
        edgeWidth = MarkEdgeWidth;
        break;
    case Mark::Wrong:
        fill = WrongTint;
        edge = WrongEdge;
        edgeWidth = MarkEdgeWidth;
        break;
    case Mark::Answer:
        edge = RightEdge;
        edgeWidth = AnswerEdgeWidth;
        break;
    case Mark::None:
        if (m_hovered && isEnabled())
            fill = HoverTint;
        break;
    }
    const qreal half = edgeWidth / 2.0;
    const QRectF frame = QRectF(rect()).adjusted(half, half, -half, -half);
    painter.setPen(QPen(edge, edgeWidth));
    painter.setBrush(fill);
    painter.drawRoundedRect(frame, Radius, Radius);

    const QRect content = rect().adjusted(ContentLeft, ContentMargin, -ContentMargin, -ContentMargin);
    if (!m_picture.isNull()) {
        const QSizeF natural = m_picture.deviceIndependentSize();
        const qreal scale = std::min({qreal(content.width()) / natural.width(),
                                      qreal(content.height()) / natural.height(), MaxEnlargement});
        QRectF target(QPointF(), natural * scale);
        target.moveCenter(QRectF(content).center());
        // multiplied into the answer's tint: a picture's white paper takes the colour of the mark
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.drawImage(target, m_picture);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        // while a judgement shows, the answers not marked step back
        painter.setPen(isEnabled() || m_mark != Mark::None
                           ? palette().color(QPalette::Active, QPalette::WindowText)
                           : DisabledText);
        painter.drawText(content, Qt::AlignCenter | Qt::TextWordWrap, m_text);
    }

    if (m_number > 0) {
        const QRectF badge(BadgeMargin, BadgeMargin, BadgeSize, BadgeSize);
        painter.setPen(Qt::NoPen);
        painter.setBrush(BadgeColour);
        painter.drawEllipse(badge);
        QFont font = painter.font();
        font.setPixelSize(BadgeFontPixels);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(BadgeText);
        painter.drawText(badge, Qt::AlignCenter, QString::number(m_number));
    }
}

void QuizChoice::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEnabled())
        emit clicked();
    event->accept();
}

void QuizChoice::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QWidget::enterEvent(event);
}

void QuizChoice::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QWidget::leaveEvent(event);
}

void QuizChoice::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}
