// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/RoundRecorder.h"

#include "game/GameRound.h"
#include "game/Modes.h"
#include "platform/Clock.h"
#include "results/AnswerStore.h"
#include "session/Session.h"

#include <cmath>

RoundRecorder::RoundRecorder(GameRound& round, AnswerStore& store, const Session& session)
    : m_round(round), m_store(store), m_session(session)
{
    connect(&round, &GameRound::roundStarted, this, &RoundRecorder::started);
    connect(&round, &GameRound::answered, this, &RoundRecorder::answered);
    connect(&round, &GameRound::roundEnded, this, &RoundRecorder::ended);
}

RoundRecorder::~RoundRecorder()
{
    ended(false);
}

void RoundRecorder::started()
{
    m_recording = false;
    const quint8 mode = m_session.mode();
    if (!Mode::isTimed(mode) || m_session.rules().textHelp || !m_store.ensureOpen())
        return;
    m_store.beginRound(mode, Mode::kindOf(mode), m_session.currentTest().number, Now());
    m_recording = true;
}

void RoundRecorder::answered(qint32 targetValue, qint32 pressedValue, bool right, qint64 ms)
{
    if (m_recording)
        m_store.record(targetValue, pressedValue, right, ms, Now());
}

void RoundRecorder::ended(bool finished)
{
    if (!m_recording)
        return;
    m_recording = false;
    m_store.finishRound(finished, std::llround(m_round.ElapsedTime() * MsPerDay), Now());
}
