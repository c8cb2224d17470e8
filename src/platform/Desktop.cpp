// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QUrl>
#include <algorithm>

namespace Desktop {

QString userLanguageCode3()
{
    return languageCode3(QLocale::system());
}

QString languageCode3(const QLocale& locale)
{
    // The terminological code ("deu", "fra"), which names the modules; ISO 639-2 also has
    // bibliographic codes ("ger", "fre"), and Qt gives those first when asked for either.
    return QLocale::languageToCode(locale.language(), QLocale::ISO639Part2T).toLower();
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

QRect fitOnScreen(const QRect& window, const QSize& minimum)
{
    const QScreen* screen = QGuiApplication::screenAt(window.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return window;
    const QRect area = screen->availableGeometry();
    const QSize size = window.size().expandedTo(minimum).boundedTo(area.size());
    const int x = std::clamp(window.x(), area.left(), area.left() + area.width() - size.width());
    const int y = std::clamp(window.y(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(x, y), size);
}

qreal pictureRatio()
{
    return qGuiApp ? std::max<qreal>(1.0, qGuiApp->devicePixelRatio()) : 1.0;
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
// The installed layout: the executable in <prefix>/bin, its files in <prefix>/share/quillon2.
constexpr char InstalledDataFolder[] = "/../share/quillon2";

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

QString programFolderOf(const QString& executable)
{
    const QFileInfo exe(executable);
    const QString resolved = exe.canonicalPath();
    const QString folder = resolved.isEmpty() ? exe.absolutePath() : resolved;
    const QFileInfo installed(folder + QLatin1String(InstalledDataFolder));
    return installed.isDir() ? installed.canonicalFilePath() : folder;
}

QString programFolder()
{
    return programFolderOf(executablePath());
}

void setExecutablePathOverride(const QString& path)
{
    executableOverride() = path;
}

} // namespace Desktop
