// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/QuickQuiz.h"

#include "platform/Clock.h"
#include "results/AnswerStore.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr qint64 MsPerSecond = 1000;
} // namespace

QuickQuiz::QuickQuiz(QObject* parent) : QObject(parent) {}

void QuickQuiz::start(const QList<QuickQuestion>& questions, int countdownSeconds)
{
    if (running())
        stop();
    m_questions = questions;
    m_answers.clear();
    m_position = 0;
    m_right = 0;
    m_totalMs = 0;
    m_countdownSeconds = std::max(0, countdownSeconds);
    if (m_questions.isEmpty()) {
        m_state = State::Idle;
        return;
    }
    emit started();
    ask();
}

void QuickQuiz::ask()
{
    m_state = State::Asking;
    m_askedAt = Now();
    emit asked();
}

qint64 QuickQuiz::msSinceAsked() const
{
    return std::max<qint64>(0, std::llround((Now() - m_askedAt) * MsPerDay));
}

bool QuickQuiz::choose(int choice)
{
    if (m_state != State::Asking || choice < 0 || choice >= QuickQuestion::ChoiceCount)
        return false;
    // an answer given after the countdown ended is the countdown's
    const qint64 limit = m_countdownSeconds * MsPerSecond;
    const qint64 ms = msSinceAsked();
    if (limit > 0 && ms >= limit)
        judge(NoChoice, limit);
    else
        judge(choice, ms);
    return true;
}

void QuickQuiz::tick()
{
    const qint64 limit = m_countdownSeconds * MsPerSecond;
    if (m_state == State::Asking && limit > 0 && msSinceAsked() >= limit)
        judge(NoChoice, limit);
}

void QuickQuiz::judge(int choice, qint64 ms)
{
    const QuickQuestion& q = current();
    Answer answer{q, choice, choice == q.right, ms};
    m_answers.append(answer);
    m_right += answer.right ? 1 : 0;
    m_totalMs += ms;
    m_state = State::Judged;
    emit answered(q.subject, choice == NoChoice ? AnswerStore::NoPress : q.storedAs[choice], answer.right,
                  ms);
    emit judged(answer);
}

void QuickQuiz::next()
{
    if (m_state != State::Judged)
        return;
    if (m_position + 1 < count()) {
        ++m_position;
        ask();
        return;
    }
    m_state = State::Finished;
    emit ended(true);
}

void QuickQuiz::stop()
{
    if (!running())
        return;
    m_state = State::Idle;
    emit ended(false);
}

double QuickQuiz::countdownLeft() const
{
    if (m_countdownSeconds <= 0)
        return 1.0;
    const double left = 1.0 - double(msSinceAsked()) / double(m_countdownSeconds * MsPerSecond);
    return std::clamp(left, 0.0, 1.0);
}

double QuickQuiz::totalTime() const
{
    return double(m_totalMs) / MsPerDay;
}
