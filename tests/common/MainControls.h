// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The main window's controls that tests look at, bound once to the names its screen gives them.
namespace MainControl {
inline const QString Title = QStringLiteral("Label1");
inline const QString ErrorsCaption = QStringLiteral("Label2");
inline const QString Clock = QStringLiteral("Label3");
inline const QString ErrorCount = QStringLiteral("Label4");
inline const QString PausedNote = QStringLiteral("Label6");
inline const QString LeftPicture = QStringLiteral("Image2");
inline const QString Gauge = QStringLiteral("Gauge1");
inline const QString Pages = QStringLiteral("PageControl1");
inline const QString BorderPanel = QStringLiteral("Panel1");
inline const QString PauseButton = QStringLiteral("PauseButton");
inline const QString ResultsButton = QStringLiteral("ResultsButton");
inline const QString MainMenuButton = QStringLiteral("MainMenuButton");
inline const QString MapSymbolTopic = QStringLiteral("SpeedButton5");
} // namespace MainControl
