// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class AnswerStore;
class GameRound;
class Session;

// Keeps the answers of every timed round in the answer store: the round's presses are collected
// while it runs and written when it ends (every cell found, or left for the main menu). Practice
// rounds are not recorded, since a press there answers no question, nor rounds played with text
// help on the cells. A store that cannot be used is reported once and the game goes on without it.
class RoundRecorder : public QObject
{
    Q_OBJECT
public:
    RoundRecorder(GameRound& round, AnswerStore& store, const Session& session);
    // A round still running when the program closes is kept as left.
    ~RoundRecorder() override;

private:
    void started();
    void answered(qint32 targetValue, qint32 pressedValue, bool right, qint64 ms);
    void ended(bool finished);

    GameRound& m_round;
    AnswerStore& m_store;
    const Session& m_session;
    bool m_recording = false;
};
