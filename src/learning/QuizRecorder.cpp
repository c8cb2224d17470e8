// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/QuizRecorder.h"

#include "game/Modes.h"
#include "learning/QuickQuiz.h"
#include "platform/Clock.h"
#include "results/AnswerStore.h"

#include <cmath>

namespace {} // namespace

QuizRecorder::QuizRecorder(QuickQuiz& quiz, AnswerStore& store) : m_quiz(quiz), m_store(store)
{
    connect(&quiz, &QuickQuiz::started, this, &QuizRecorder::started);
    connect(&quiz, &QuickQuiz::answered, this, &QuizRecorder::answered);
    connect(&quiz, &QuickQuiz::ended, this, &QuizRecorder::ended);
}

QuizRecorder::~QuizRecorder()
{
    ended(false);
}

void QuizRecorder::started()
{
    m_recording = false;
    if (!m_store.ensureOpen())
        return;
    const QuizDirection& direction = m_quiz.current().direction;
    m_store.beginRound(Mode::QuickQuiz, direction.kind, direction.testNumber(), Now());
    m_recording = true;
}

void QuizRecorder::answered(qint32 target, qint32 pressed, bool right, qint64 ms)
{
    if (m_recording)
        m_store.record(target, pressed, right, ms, Now());
}

void QuizRecorder::ended(bool finished)
{
    if (!m_recording)
        return;
    m_recording = false;
    m_store.finishRound(finished, std::llround(m_quiz.totalTime() * MsPerDay), Now());
}
