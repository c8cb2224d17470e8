// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/TLinkLabel.h"

#include "platform/Desktop.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kDefaultPointSize = 10;
constexpr QRgb kDefaultFontColor = qRgb(0, 0, 255);       // blue
constexpr QRgb kDefaultMoveOverColor = qRgb(255, 0, 0);   // red
constexpr QRgb kDefaultFollowedColor = qRgb(128, 0, 128); // purple
constexpr char kDefaultCaption[] = "Visit the project page";
constexpr char kDefaultCaptionValue[] = "https://quillon.example.org/";
// The secure form of the web prefix: a value that already has it needs no prefix either.
constexpr char kSecureWebPrefix[] = "https://";
constexpr char kEventPrefix[] = "event";

TLinkLabel::Opener& opener()
{
    static TLinkLabel::Opener instance;
    return instance;
}

} // namespace

TLinkLabel::TLinkLabel(QWidget* parent)
    : QWidget(parent), m_caption(QString::fromLatin1(kDefaultCaption)),
      m_captionValue(QString::fromLatin1(kDefaultCaptionValue)), m_moveOverColor(kDefaultMoveOverColor),
      m_followedColor(kDefaultFollowedColor), m_normalColor(kDefaultFontColor), m_textColor(kDefaultFontColor)
{
    QFont labelFont = font();
    labelFont.setPointSize(kDefaultPointSize);
    labelFont.setUnderline(true);
    setFont(labelFont);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
}

void TLinkLabel::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    updateGeometry();
    update();
}

void TLinkLabel::setFontColor(const QColor& color)
{
    m_normalColor = color;
    setTextColor(color);
}

void TLinkLabel::setTextColor(const QColor& color)
{
    if (color == m_textColor)
        return;
    m_textColor = color;
    update();
}

QString TLinkLabel::prefixOf(Command command)
{
    switch (command) {
    case runNothing:
        return {};
    case runMAIL:
        return QStringLiteral("mailto:");
    case runURL:
        return QStringLiteral("http://");
    case runFTP:
        return QStringLiteral("ftp://");
    case runFILE:
        return QStringLiteral("file:");
    case runEVENT:
        return QString::fromLatin1(kEventPrefix);
    }
    return {};
}

QString TLinkLabel::target() const
{
    if (m_command == runEVENT)
        return {};
    const QString prefix = prefixOf(m_command);
    const bool prefixed = m_captionValue.startsWith(prefix, Qt::CaseInsensitive) ||
                          (m_command == runURL &&
                           m_captionValue.startsWith(QLatin1String(kSecureWebPrefix), Qt::CaseInsensitive));
    return prefixed ? m_captionValue : prefix + m_captionValue;
}

TLinkLabel::Opener TLinkLabel::setOpener(Opener replacement)
{
    Opener previous = std::move(opener());
    opener() = std::move(replacement);
    return previous;
}

void TLinkLabel::run()
{
    if (m_command == runEVENT) {
        emit RunEvent();
        return;
    }
    const QString where = target();
    // A refusal leaves nothing to do: the desktop reports its own failures.
    if (opener())
        opener()(where);
    else
        Desktop::open(where);
}

QSize TLinkLabel::sizeHint() const
{
    return QFontMetrics(font()).size(Qt::TextSingleLine, m_caption);
}

void TLinkLabel::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(m_textColor);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_caption);
}

void TLinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    const bool over = rect().contains(event->position().toPoint());
    if (!m_tracking) {
        if (!over)
            return;
        m_tracking = true;
        if (isEnabled() && isVisible() && isActiveWindow())
            setTextColor(m_moveOverColor);
    }
    if (!over && m_inside)
        leave();
    else if (over && !m_inside)
        m_inside = true;
    QWidget::mouseMoveEvent(event);
}

void TLinkLabel::leaveEvent(QEvent* event)
{
    if (m_tracking)
        leave();
    QWidget::leaveEvent(event);
}

void TLinkLabel::leave()
{
    m_inside = false;
    m_tracking = false;
    setTextColor(m_followed ? m_followedColor : m_normalColor);
}

void TLinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled() || !isVisible()) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_held = true;
    m_inside = true;
    m_followed = true;
    setTextColor(m_normalColor);
    run();
    event->accept();
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_held) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_held = false;
    m_inside = false;
    // The press ended the mouse's hold on the label: the next move over it lights it again.
    m_tracking = false;
    setTextColor(m_followedColor);
    if (isEnabled() && rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}
