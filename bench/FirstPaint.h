// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

// Ends the event loop once the watched widget has received its first paint event: the moment a
// user sees the window. The paint itself still runs. The loop is left with exit(), not quit():
// quit() would first close every window, and closing the trainer writes its settings.
class QuitAtFirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QCoreApplication::exit(0);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};
