#include "platform/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLocale>
#include <QProcess>
#include <QUrl>

namespace Desktop {

QString userLanguageCode3()
{
    const QLocale locale = QLocale::system();
    return QLocale::languageToCode(locale.language(), QLocale::ISO639Part2).toLower();
}

bool open(const QString& target)
{
    const QUrl url = QUrl::fromUserInput(target);
    return url.isValid() && QDesktopServices::openUrl(url);
}

void beep()
{
    QApplication::beep();
}

bool startNewInstance()
{
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}

QString executablePath()
{
    return QCoreApplication::applicationFilePath();
}

} // namespace Desktop
