// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/Language.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <functional>

// The stored user settings and every key of them, read once at start and written at the main
// window's close. The store does not know the windows: it reads and writes through these hooks.
struct SettingsBinding
{
    std::function<void(bool)> setTextHelp; // the text help box and the grid's ShowTextHelp
    std::function<bool()> textHelp;
    std::function<void(bool)> setLearning; // presses "Learning" (true) or "Testing" (false)
    std::function<bool()> learning;
    std::function<void(bool)> setShowRightCell; // the right cell is shown after a wrong press
    std::function<bool()> showRightCell;
    std::function<void(bool)> setGraphicMode; // checks "Graphic" or "Text" and sets ShowTextOnly
    std::function<bool()> graphicMode;
    std::function<void(QPoint)> moveHelpForm;
    std::function<void(QSize)> resizeHelpForm;
    std::function<QRect()> helpFormGeometry; // left, top, outer width and height
    std::function<void(QPoint)> moveMainForm;
    std::function<QPoint()> mainFormPosition;
    std::function<void(const QFont&, const QColor&)> setTextFont;
    std::function<QFont()> textFont;
    std::function<QColor()> textFontColor;
};

namespace SettingsStore {

inline constexpr char MainKey[] = "Software\\Dovetail\\Quillon\\2\\";
inline constexpr char FontKey[] = "Software\\Dovetail\\Quillon\\2\\FontText";
inline constexpr const char* LocalesKey = LanguageChoiceKey;

// A colour as stored: 0x00BBGGRR, or 0x80000000 plus a system colour index.
quint32 encodeColor(const QColor& color);
QColor decodeColor(quint32 value);

// Applies the stored settings in their order. A value of the wrong type is skipped (its setting
// keeps its default) and the reading goes on; the error of the first such value is thrown at the
// end. A font size is brought into a readable range.
void read(const SettingsBinding& binding);
// Writes every setting; throws "Failed to set data for '%s'" at the first value that cannot be
// written, leaving the values after it unwritten.
void write(const SettingsBinding& binding);

// The language chosen for the executable at `executablePath`.
void writeLanguage(const QString& executablePath, const QString& code);

} // namespace SettingsStore
