// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/FinishedRound.h"
#include "domain/RoundRules.h"
#include "game/RoundModel.h"

#include <QImage>

#include <QObject>
#include <QTimer>

class QLabel;
class QStackedWidget;
class QWidget;
class RoundHost;
class CellItem;
class TGauge;
class TMyDrawGrid;

// The main window's controls that a round uses.
struct RoundControls
{
    QLabel* title = nullptr;           // Label1: the target's text, or the hovered cell's in practice
    QLabel* leftPicture = nullptr;     // Image2
    QLabel* textModePicture = nullptr; // ImageTextMode1: the target's picture in text display
    QLabel* rightPicture = nullptr;    // Image1
    QLabel* clock = nullptr;           // Label3
    QLabel* errorsLabel = nullptr;     // Label2
    QLabel* errorCount = nullptr;      // Label4
    QLabel* pausedLabel = nullptr;     // Label6
    TGauge* gauge = nullptr;
    QWidget* pauseButton = nullptr;
    QWidget* nextButton = nullptr;
    QWidget* backButton = nullptr;
    QWidget* mainMenuButton = nullptr;
    QWidget* settingsButton = nullptr;
    QWidget* resultsButton = nullptr;
    QStackedWidget* pages = nullptr;
    QWidget* gamePage = nullptr;
    TMyDrawGrid* grid = nullptr;
    QLabel* statusLine = nullptr; // under the board: what a wrong press pressed
};

// One practice or test round on the symbol grid, as the main window shows it: its start, the hover
// and press handlers, the clock, the pause and the end of a timed round. The rules (the target, the
// judging of a press, the errors, the time played) are the model's; this shows them on the board
// and the labels. The one-second tick only shows the time played.
class GameRound : public QObject
{
    Q_OBJECT
public:
    enum State : quint8 {
        Running = RoundModel::Running,
        Finished = RoundModel::Finished,
        Paused = RoundModel::Paused
    };

    GameRound(RoundHost& host, const RoundControls& controls);

    void StartRound();
    void hover(int x, int y);
    // The cell at `index` pointed at (by the mouse or the keys).
    void hoverCell(int index);
    void press(int index);
    // Shows the time played on the clock label.
    void tick();
    // Pauses a running timed round or resumes a paused one; a finished round stays finished.
    void pause();
    // A message stands over the board (true) or was answered (false): a running timed round's
    // clock stops while any message is open; the board stays as it is.
    void holdForMessage(bool shown);
    // The main menu clears the round's pictures and stops the clock.
    void stopForMainMenu();
    // The rules of the rounds from now on (the right cell shown after a wrong press).
    void setRules(const RoundRules& rules) { m_rules = rules; }

    quint8 GameState() const { return m_model.state(); }
    // A timed round that has begun and not ended (paused or not): leaving it throws it away.
    bool timedRoundInProgress() const;
    const RoundSummary& summary() const { return m_model.summary(); }
    const RoundModel& model() const { return m_model; }
    // How long the status line and the marks of a press stay.
    static constexpr int StatusLineMs = 1800;
    // The moment the round started.
    double StartTime() const { return m_startTime; }
    // The time played (days): the time the board was shown, without pauses, up to now or, once the
    // round is over, up to its end, in whole milliseconds.
    double ElapsedTime() const;
    QTimer& Timer2() { return m_timer; }

signals:
    // A judged press of a timed round: the target's number, the pressed cell's number, whether it
    // was right, and the milliseconds since the target was named.
    void answered(qint32 targetValue, qint32 pressedValue, bool right, qint64 msSinceTargetShown);
    // A round began; it ends when every cell is found (finished) or the main menu is shown.
    void roundStarted();
    void roundEnded(bool finished);
    // A timed round was finished (every target found), after the board was cleared: its value,
    // without its test, which the round does not know.
    void finished(const FinishedRound& round);

private:
    // An image control that remembers the cell whose picture it shows.
    struct CellPicture
    {
        QLabel* label = nullptr;
        int cell = -1;
        void show(const QImage& image, int fromCell);
        void clear();
    };

    CellItem* target() const;
    void endRound();
    void judge(int index, CellItem* item);
    // The new target's name and pictures on the labels.
    void showTarget();
    void showStatus(const QString& text);
    void hideStatus();
    // The pause button's caption and the controls a pause hid come back.
    void undoPauseLook();
    // The picture that stands for a cell's symbol in a summary.
    static QImage symbolPicture(const CellItem& item);

    RoundHost& m_host;
    RoundControls m_c;
    RoundModel m_model;
    RoundRules m_rules;
    // messages open over the board, and whether the first of them stopped the clock
    int m_messagesOpen = 0;
    bool m_heldByMessage = false;
    CellPicture m_image1;
    CellPicture m_image2;
    CellPicture m_textModeImage;
    QTimer m_timer;
    QTimer m_statusTimer;
    QString m_pauseCaption;
    QList<QWidget*> m_hiddenByPause;
    double m_startTime = 0;
};
