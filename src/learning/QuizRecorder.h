// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class AnswerStore;
class QuickQuiz;

// Keeps the answers of each run of the quick quiz in the answer store, as one round of the
// question's kind under the quiz's mode and its direction's test number: the answers are collected
// while the run goes on and written in one transaction when it ends (finished or left). A store
// that cannot be used is reported once and the quiz goes on without it.
class QuizRecorder : public QObject
{
    Q_OBJECT
public:
    QuizRecorder(QuickQuiz& quiz, AnswerStore& store);
    // A run still going on when the recorder goes is kept as left.
    ~QuizRecorder() override;

private:
    void started();
    void answered(qint32 target, qint32 pressed, bool right, qint64 ms);
    void ended(bool finished);

    QuickQuiz& m_quiz;
    AnswerStore& m_store;
    bool m_recording = false;
};
