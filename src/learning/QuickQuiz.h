// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "learning/QuizMaker.h"

#include <QList>
#include <QObject>

// One run of the quick quiz: its questions one at a time, the learner's choice or the end of the
// question's countdown judged, the score and the time. The time of a run is the time spent
// answering, from each question asked to its answer (or to the end of its countdown); the moments
// in which a judgement is shown do not count. Times come from the program's clock, so that a test
// can replace it.
class QuickQuiz : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Asking, Judged, Finished };
    static constexpr int NoChoice = -1;

    struct Answer
    {
        QuickQuestion question;
        int chosen = NoChoice; // NoChoice: the countdown ended first
        bool right = false;
        qint64 ms = 0;
    };

    explicit QuickQuiz(QObject* parent = nullptr);

    // Begins a run with `questions` and asks the first; `countdownSeconds` 0 is no countdown.
    void start(const QList<QuickQuestion>& questions, int countdownSeconds);
    // The learner's choice (0 .. 3) for the question asked; false, and nothing judged, when no
    // question waits for an answer.
    bool choose(int choice);
    // Time has passed: a question whose countdown has run out is judged missed.
    void tick();
    // After a judgement: asks the next question, or finishes the run after the last.
    void next();
    // Leaves a run before its end; the answers given so far stay answered.
    void stop();

    State state() const { return m_state; }
    bool running() const { return m_state == State::Asking || m_state == State::Judged; }
    int count() const { return static_cast<int>(m_questions.size()); }
    // The question asked or judged last (0-based).
    int position() const { return m_position; }
    const QuickQuestion& current() const { return m_questions.at(m_position); }
    int countdownSeconds() const { return m_countdownSeconds; }
    // The part of the countdown still left, from 1 to 0; 1 without a countdown.
    double countdownLeft() const;

    int rightCount() const { return m_right; }
    // Wrong and missed answers.
    int errors() const { return static_cast<int>(m_answers.size()) - m_right; }
    // The time spent answering, as a date-time value (days).
    double totalTime() const;
    const QList<Answer>& answers() const { return m_answers; }

signals:
    void started();
    void asked();
    void judged(const QuickQuiz::Answer& answer);
    // A judged answer as the answer store keeps it: the question's symbol, the chosen answer as a
    // symbol of the question's kind (AnswerStore::NoPress when nothing was chosen), whether it was
    // right, and the milliseconds since the question was asked.
    void answered(qint32 target, qint32 pressed, bool right, qint64 ms);
    // The run ended: after its last question (finished) or left before.
    void ended(bool finished);

private:
    void ask();
    void judge(int choice, qint64 ms);
    qint64 msSinceAsked() const;

    QList<QuickQuestion> m_questions;
    QList<Answer> m_answers;
    State m_state = State::Idle;
    int m_position = 0;
    int m_right = 0;
    int m_countdownSeconds = 0;
    double m_askedAt = 0;
    qint64 m_totalMs = 0;
};
