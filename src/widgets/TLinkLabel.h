// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

// A line of text that hands a command to the desktop when pressed, normally to open a web page.
// Its text colour follows the mouse: MoveOverColor while the mouse is over it, FollowedColor once
// it has been pressed, else the normal colour, FontColor (the colour the screen description gives).
class TLinkLabel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString CaptionValue READ captionValue WRITE setCaptionValue)
    Q_PROPERTY(Command Command READ command WRITE setCommand)
    Q_PROPERTY(QColor MoveOverColor READ moveOverColor WRITE setMoveOverColor)
    Q_PROPERTY(QColor FollowedColor READ followedColor WRITE setFollowedColor)
    Q_PROPERTY(QColor FontColor READ fontColor WRITE setFontColor)

public:
    enum Command { runNothing, runMAIL, runURL, runFTP, runFILE, runEVENT };
    Q_ENUM(Command)

    // Hands a target to the desktop; false when refused.
    using Opener = std::function<bool(const QString&)>;

    explicit TLinkLabel(QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    QString captionValue() const { return m_captionValue; }
    void setCaptionValue(const QString& value) { m_captionValue = value; }
    Command command() const { return m_command; }
    void setCommand(Command command) { m_command = command; }
    QColor moveOverColor() const { return m_moveOverColor; }
    void setMoveOverColor(const QColor& color) { m_moveOverColor = color; }
    QColor followedColor() const { return m_followedColor; }
    void setFollowedColor(const QColor& color) { m_followedColor = color; }
    // The normal text colour; setting it also shows it.
    QColor fontColor() const { return m_normalColor; }
    void setFontColor(const QColor& color);

    // The target a press hands to the desktop: the command's prefix and CaptionValue; empty for
    // runEVENT.
    QString target() const;
    // The prefix of a command ("http://" for runURL, ...).
    static QString prefixOf(Command command);

    // Replaces the desktop's opener (Desktop::open); an empty function restores it. Returns the
    // opener that was set before.
    static Opener setOpener(Opener opener);

    // State.
    QColor textColor() const { return m_textColor; }
    bool Followed() const { return m_followed; }
    bool Inside() const { return m_inside; }
    bool Held() const { return m_held; }

    QSize sizeHint() const override;

signals:
    // A press when Command is runEVENT.
    void RunEvent();
    // A left press and release on the label.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setTextColor(const QColor& color);
    void leave();
    void run();

    QString m_caption;
    QString m_captionValue;
    Command m_command = runURL;
    QColor m_moveOverColor;
    QColor m_followedColor;
    QColor m_normalColor;
    QColor m_textColor;

    // The label follows the mouse from its first move over it until the mouse leaves.
    bool m_tracking = false;
    bool m_followed = false;
    bool m_inside = false;
    bool m_held = false;
};
