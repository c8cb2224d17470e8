// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// What the game round needs of the window it runs in: the screen mode, the error count and the
// progress shown, and the text help window.
class RoundHost
{
public:
    virtual ~RoundHost() = default;
    virtual quint8 CurrentMode() const = 0;
    virtual void setCurrentMode(quint8 mode) = 0;
    virtual void ShowMode() = 0;
    // Sets the main menu's mode and shows it.
    virtual void returnToMainMenu() = 0;
    // Shows the round's errors.
    virtual void SetErrorCount(int n) = 0;
    virtual void SetProgress(int n) = 0;
    virtual int Progress() const = 0;
    virtual int MainMenuWidth() const = 0;
    // The text help window: shows the help of a board cell, closes, and tells which cell it shows
    // (-1 when closed).
    virtual void showHelpFor(int cell) = 0;
    virtual void closeHelp() = 0;
    virtual int helpShownIndex() const = 0;
};
