// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/FinishedRound.h"
#include "domain/RoundRules.h"
#include "domain/SymbolKind.h"
#include "domain/TestNumbers.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>
#include <memory>

class AnswerStore;
class MainWindow;
class RoundRecorder;
struct TTypesItem;

// What is being played and by which rules, and the one way a finished round takes to its result.
// The dialogs ask the session (never each other): the test selection starts a test here, the
// quick quiz hands its finished round here, the winner dialog is handed every finished round by
// the program through roundFinished, and the results viewer reads here what was played last. The
// session drives the main window's board and keeps the answers of every timed board round.
class Session : public QObject
{
    Q_OBJECT
public:
    Session(MainWindow& window, AnswerStore* answers);
    ~Session() override;

    // The screen the main window shows (a mode) and the kind of symbols it plays.
    quint8 mode() const;
    void setMode(quint8 mode);
    SymbolKind kind() const;
    // Shows the screen of the current mode (a board's screen opens the test selection).
    void showMode();
    void returnToMainMenu();
    // Whether the main menu offers the map-symbol topic.
    bool mapSymbolsOffered() const;

    // The test on the board (number 0 when none was started or the selection was cancelled), and
    // the test played last, on the board or in the quick quiz (0 before the first).
    const TestIdentity& currentTest() const { return m_current; }
    qint32 lastPlayedTest() const { return m_lastPlayed; }
    void clearCurrentTest() { m_current = {}; }

    const RoundRules& rules() const { return m_rules; }
    // Applies the rules to the board (names under the pictures, names only) and to the round.
    void setRules(const RoundRules& rules);
    // The board's fonts: the symbol font and its colour (pictures are drawn in them elsewhere too),
    // and the font of the names in text display.
    QFont symbolFont() const;
    QColor symbolColour() const;
    QFont textFont() const;
    QColor textFontColour() const;
    void setTextFont(const QFont& font, const QColor& colour);
    void setTextFont(const QFont& font);

    // The learner's answers; null when the program runs without them.
    AnswerStore* answers() const { return m_answers; }

    // Lays out the board for the current mode's kind, loads `entry` on it and starts its round.
    // A test that cannot be played is not started: its error is shown, the board is left empty and
    // the result is false.
    bool play(const TTypesItem& entry);
    // Starts the drill "My weak symbols" of the current mode's kind. With no answers of that kind
    // yet it says so and makes the mode the description mode of the same activity (nothing is
    // played); with nothing due it says when something is.
    enum class DrillStart { Started, NoHistory, NothingDue, NotPlayable };
    DrillStart playWeakSymbols();
    // The drill's name as the test lists show it.
    static QString weakSymbolsName();
    // The catalogue file of the tests of a kind of symbols.
    static QString catalogueFor(SymbolKind kind);

    // A round of a game without the board (the quick quiz) finished: it is the test played last,
    // and goes on to its result as a board's round does.
    void finishRound(const FinishedRound& round);
    // The round shown last by the winner dialog and the name given to it there, for the results
    // viewer to mark its row.
    const FinishedRound& lastResult() const { return m_lastResult; }
    const QString& playerName() const { return m_playerName; }
    void setPlayerName(const QString& name) { m_playerName = name; }

signals:
    // A timed round is over, with its test. A ranked one asks for the player's name and is
    // recorded; an unranked one (played with the names under the pictures) is only shown. After an
    // unranked board round the main menu is shown again.
    void roundFinished(const FinishedRound& round, bool ranked);
    // The drill found no answers of its kind: the first description test is to be offered.
    void drillWithoutHistory();

private:
    void layOutBoard();
    void boardRoundFinished(FinishedRound round);

    MainWindow& m_window;
    AnswerStore* m_answers = nullptr;
    std::unique_ptr<RoundRecorder> m_recorder;
    RoundRules m_rules;
    TestIdentity m_current;
    qint32 m_lastPlayed = 0;
    FinishedRound m_lastResult;
    QString m_playerName;
};
