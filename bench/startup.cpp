// SPDX-License-Identifier: GPL-3.0-or-later
// The trainer's start as main.cpp runs it (application object, the program folder as working
// directory, the language choice, the window set, the main window shown), ended at the main
// window's first paint. Argument: the ready program folder (default: this build's).
#include "FirstPaint.h"
#include "app/QuillApplication.h"
#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "content/Language.h"
#include "platform/AppError.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"

#include <QDir>

int main(int argc, char** argv)
{
    QuillApplication app(argc, argv);
    const QString runDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QUILL_RUN_DIR);
    QDir::setCurrent(runDir);
    DataFolder::choose(QDir::currentPath());
    // The language modules are looked up beside the trainer's executable in that folder.
    Desktop::setExecutablePathOverride(QDir(runDir).absoluteFilePath(QStringLiteral("quill")));
    Language::selectModule();
    try {
        WindowSet windows;
        if (windows.form()->terminateRequested())
            return 2;
        QuitAtFirstPaint quitter;
        windows.form()->installEventFilter(&quitter);
        windows.form()->show();
        return app.exec();
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return 1;
    }
}
