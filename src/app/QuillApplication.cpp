#include "app/QuillApplication.h"

#include "platform/AppError.h"
#include "platform/MessageBoxes.h"

namespace {
constexpr char ApplicationTitle[] = "Quillon 2 For Orienteering";
} // namespace

QuillApplication::QuillApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quillon"));
    setApplicationDisplayName(QString::fromLatin1(ApplicationTitle));
    setOrganizationName(QStringLiteral("Dovetail"));
    setApplicationVersion(QStringLiteral(QUILL_VERSION));
    MessageBoxes::setApplicationTitle(title());
}

QString QuillApplication::title()
{
    return QString::fromLatin1(ApplicationTitle);
}

bool QuillApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
    } catch (const std::exception& error) {
        MessageBoxes::showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
