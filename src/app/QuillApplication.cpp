// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QuillApplication.h"

#include "platform/AppError.h"
#include "platform/MessageBoxes.h"

#include <QMessageBox>

namespace {
constexpr char ApplicationTitle[] = "Quillon 2 For Orienteering";

// A message in a box over the active window: an error with the stop icon, a plain one without.
void showBox(MessageBoxes::Kind kind, const QString& text)
{
    QMessageBox box(kind == MessageBoxes::Kind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    MessageBoxes::applicationTitle(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

// A question with "Yes" and "No"; Escape answers "No".
bool askBox(const QString& text, bool defaultYes)
{
    QMessageBox box(QMessageBox::Question, MessageBoxes::applicationTitle(), text,
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
} // namespace

QuillApplication::QuillApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quillon"));
    setApplicationDisplayName(QString::fromLatin1(ApplicationTitle));
    setOrganizationName(QStringLiteral("Dovetail"));
    setApplicationVersion(QStringLiteral(QUILL_VERSION));
    MessageBoxes::setApplicationTitle(title());
    MessageBoxes::setPresenter({showBox, askBox});
}

QuillApplication::~QuillApplication()
{
    MessageBoxes::setPresenter({});
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
