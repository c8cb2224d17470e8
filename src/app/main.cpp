#include "app/CommandLine.h"
#include "app/QuillApplication.h"
#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "content/Language.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"

#include <QDir>

int main(int argc, char** argv)
{
    // Exports and --help run without a window.
    if (const int status = runCommandLine(argc, argv); status >= 0)
        return status;
    QuillApplication app(argc, argv);
    // The program works on the files of its own folder.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    Language::selectModule();
    try {
        WindowSet windows;
        if (windows.form()->terminateRequested())
            return 0;
        windows.form()->show();
        return app.exec();
    } catch (const AppError& error) {
        // a screen that cannot be built
        MessageBoxes::showError(error);
        return 1;
    }
}
