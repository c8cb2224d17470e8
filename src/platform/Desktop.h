// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>

class QLocale;

// The few services of the desktop the program asks for.
namespace Desktop {

// The user's language as a three-letter code (ISO 639-2, for example "deu"), lower case.
QString userLanguageCode3();
// The same of any locale ("c" for the plain C and POSIX locales, which name no language).
QString languageCode3(const QLocale& locale);

// Hands a target (an address, "mailto:...", a file) to the desktop to open. False when refused.
bool open(const QString& target);

// `window` (a window's position and outer size) moved, and shrunk where it is larger than the
// screen, so that it lies wholly on the available area of the screen nearest to it; a size below
// `minimum` grows to it. A stored position from another screen set-up then still opens in view.
QRect fitOnScreen(const QRect& window, const QSize& minimum = {});

// How many device pixels a picture gets per logical pixel: pictures are drawn at the screens'
// density (2 on a screen at 200 %), so that they stay sharp instead of being enlarged.
qreal pictureRatio();

// The default beep.
void beep();

// Starts a new instance of this program, without arguments; false when it could not be started.
bool startNewInstance();

// Full path of the program's executable.
QString executablePath();
// The folder of the program's files (the symbol font, the picture library, the language modules,
// the texts) for the executable at `executable`: share/quillon2 beside the executable's folder in
// an installed copy (/usr/bin/quill reads /usr/share/quillon2), else the executable's own folder
// (the build's run folder, a copy on a USB stick). Links to the executable are resolved first.
QString programFolderOf(const QString& executable);
// The same for this program.
QString programFolder();
// Tests place the executable elsewhere; an empty path restores the real one.
void setExecutablePathOverride(const QString& path);

} // namespace Desktop
