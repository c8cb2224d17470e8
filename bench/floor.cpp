// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of any Qt Widgets program's start: an application object and one empty widget, shown
// and ended at its first paint. The trainer's start is measured against it.
#include "FirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    QuitAtFirstPaint quitter;
    window.installEventFilter(&quitter);
    window.show();
    return app.exec();
}
