// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// The application object of the window: the program's messages are shown in message boxes, and a
// failure that reaches the event loop in the application's standard error box, and the program goes
// on.
class QuillApplication : public QApplication
{
    Q_OBJECT
public:
    QuillApplication(int& argc, char** argv);
    ~QuillApplication() override;
    bool notify(QObject* receiver, QEvent* event) override;

    static QString title();
};
