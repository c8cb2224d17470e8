// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/Modes.h"

#include <QPoint>
#include <QSize>
#include <QtGlobal>

class GameRound;
class TMyDrawGrid;

// The main window as the session drives it and the settings place it: its screen mode, the board
// and its round, the main menu's selection and the window's place.
class MainWindow
{
public:
    virtual ~MainWindow() = default;

    virtual quint8 CurrentMode() const = 0;
    virtual void setCurrentMode(quint8 mode) = 0;
    virtual void ShowMode() = 0;
    // Leaves whatever screen is shown for the main menu.
    virtual void returnToMainMenu() = 0;

    // The symbol grid: laid out and loaded for a test, set up by the settings.
    virtual TMyDrawGrid* grid() const = 0;
    // The round on the board (none in a window without a board), and its start on the board as it
    // is loaded.
    virtual GameRound* gameRound() const = 0;
    virtual void startRound() = 0;

    // The main menu's choice between learning and testing.
    virtual bool learningSelected() const = 0;
    virtual void selectLearning(bool learning) = 0;
    // Whether the main menu offers the map-symbol topic.
    virtual bool mapSymbolTopicVisible() const = 0;

    // The window's place on the screen (its frame's top left) and its outer size.
    virtual QPoint windowPosition() const = 0;
    virtual QSize windowFrameSize() const = 0;
    virtual void moveWindow(QPoint position) = 0;
};
