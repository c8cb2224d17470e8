// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/QuillApplication.h"
#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "content/Language.h"
#include "content/ModuleDamage.h"
#include "platform/AppError.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"

#include <QDir>
#include <QEvent>
#include <QIcon>

namespace {

// The desktop entry that starts the program; the desktop matches its windows to the entry's icon.
constexpr char DesktopEntryName[] = "org.example.quillon.quillon2";

// The icon in the program folder of a copy that is not installed.
constexpr char IconFile[] = "quill-icon.png";

// The check of an installed copy asks, with this variable in the environment, for the program to
// end once its main window has been painted: the start is then known to work.
constexpr char ExitAtFirstPaintVariable[] = "QUILL_EXIT_AT_FIRST_PAINT";

// Ends the event loop at the first paint of the watched window. exit(), not quit(): quit() would
// close the windows, and closing the main window writes the settings.
class ExitAtFirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QCoreApplication::exit(0);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv)
{
    // Exports and --help run without a window.
    if (const int status = runCommandLine(argc, argv); status >= 0)
        return status;
    if (const int status = refuseWithoutDisplay(argc, argv); status >= 0)
        return status;
    QuillApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DesktopEntryName));
    // The program works on the files of its own folder.
    QDir::setCurrent(Desktop::programFolder());
    DataFolder::choose(QDir::currentPath());
    setModuleDamageReporter([](const AppError& error) { MessageBoxes::showError(error); });
    Language::selectModule();
    // the toolkit took the options of the window system (-platform, -style ...): what is left is no
    // option of the trainer
    if (argc > 1)
        return refuseWindowArguments(QCoreApplication::arguments().mid(1));
    // the window's own icon, for window managers that do not match it to the desktop entry: the
    // icon theme's when installed, else the one in the program folder
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(DesktopEntryName));
    if (icon.isNull())
        icon = QIcon(QString::fromLatin1(IconFile));
    QGuiApplication::setWindowIcon(icon);
    try {
        WindowSet windows;
        if (windows.form()->terminateRequested())
            return 0;
        ExitAtFirstPaint exitAtFirstPaint;
        if (qEnvironmentVariableIsSet(ExitAtFirstPaintVariable))
            windows.form()->installEventFilter(&exitAtFirstPaint);
        windows.form()->show();
        return app.exec();
    } catch (const AppError& error) {
        // a screen that cannot be built
        MessageBoxes::showError(error);
        return 1;
    }
}
