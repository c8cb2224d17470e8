// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RoundRecorder.h"

#include "dialogs/TStartDlg.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/TMyDrawGrid.h"
#include "platform/Clock.h"
#include "results/AnswerStore.h"
#include "screens/MainWindow.h"
#include "screens/Screens.h"

#include <cmath>

namespace {} // namespace

RoundRecorder::RoundRecorder(GameRound& round, AnswerStore& store, Screens& screens)
    : m_round(round), m_store(store), m_screens(screens)
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
    const quint8 mode = m_screens.mainWindow->CurrentMode();
    if (!Mode::isTimed(mode) || m_screens.mainWindow->grid()->ShowTextHelp() || !m_store.ensureOpen())
        return;
    const qint32 testNumber = m_screens.startDlg.exists() ? m_screens.startDlg->CurrentTestNumber() : 0;
    m_store.beginRound(mode, Mode::kindOf(mode), testNumber, Now());
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
