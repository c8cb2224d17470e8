#include "platform/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace Desktop {

QString userLanguageCode3()
{
    const QLocale locale = QLocale::system();
    return QLocale::languageToCode(locale.language(), QLocale::ISO639Part2).toLower();
}

bool open(const QString& target)
{
    // An address with a scheme ("https:", "mailto:", "file:") is opened as it is; anything else
    // names a file, relative to the working directory.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const QUrl url = scheme.match(target).hasMatch()
                         ? QUrl(target)
                         : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
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

namespace {
QString& executableOverride()
{
    static QString path;
    return path;
}
} // namespace

QString executablePath()
{
    return executableOverride().isEmpty() ? QCoreApplication::applicationFilePath() : executableOverride();
}

void setExecutablePathOverride(const QString& path)
{
    executableOverride() = path;
}

} // namespace Desktop
