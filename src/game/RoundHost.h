// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// What the game round needs of the window it runs in: the screen mode, the error count and the
// progress, the settings' text help box, the text help window and the winner dialog.
class RoundHost
{
public:
    virtual ~RoundHost() = default;
    virtual quint8 CurrentMode() const = 0;
    virtual void setCurrentMode(quint8 mode) = 0;
    virtual void ShowMode() = 0;
    // Sets the main menu's mode and shows it.
    virtual void returnToMainMenu() = 0;
    virtual void SetErrorCount(int n) = 0;
    virtual int ErrorCount() const = 0;
    virtual void SetProgress(int n) = 0;
    virtual int Progress() const = 0;
    virtual int MainMenuWidth() const = 0;
    // The settings dialog's "Show text help on images (no result ability)".
    virtual bool textHelpChecked() const = 0;
    virtual void showWinnerDialog() = 0;
    // A timed round ended with text help on: its summary is shown, its result is not recorded.
    virtual void showUnrecordedSummary() = 0;
    // The settings' choice to show the right cell for a moment after a wrong press.
    virtual bool showRightCellAfterMiss() const = 0;
    // The text help window: shows the help of a board cell, closes, and tells which cell it shows
    // (-1 when closed).
    virtual void showHelpFor(int cell) = 0;
    virtual void closeHelp() = 0;
    virtual int helpShownIndex() const = 0;
};
