// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/RoundModel.h"

#include "platform/Clock.h"
#include "platform/Random.h"

#include <cmath>

namespace {
// A random source that never reaches a usable cell gives up after this many draws per cell.
constexpr int TargetDrawsPerCell = 1000;
} // namespace

void RoundModel::start(const Activity& activity, const QList<BoardCell>& cells, double now)
{
    m_activity = activity;
    m_cells = cells;
    m_summary = {};
    m_summary.kind = activity.kind;
    m_target = -1;
    m_errors = 0;
    m_state = Running;
    m_elapsed = 0;
    m_runningSince = now;
    m_targetShownAt = now;
    emit errorCounted(0);
    chooseTarget(now);
}

bool RoundModel::usable(int index) const
{
    return !m_cells[index].cleared && !m_cells[index].text.isEmpty();
}

int RoundModel::drawTarget(int count, const std::function<bool(int)>& usable)
{
    bool any = false;
    for (int i = 0; i < count && !any; ++i)
        any = usable(i);
    if (!any)
        return -1;
    int index = Random(count);
    for (int draws = 1; !usable(index); ++draws) {
        if (draws >= TargetDrawsPerCell * count) {
            while (!usable(index))
                index = (index + 1) % count;
            break;
        }
        index = Random(count);
    }
    return index;
}

bool RoundModel::chooseTarget(double now)
{
    Randomize();
    const int index = drawTarget(static_cast<int>(m_cells.size()), [this](int i) { return usable(i); });
    if (index < 0)
        return false;
    m_target = index;
    m_targetShownAt = now;
    emit targetChanged(index, m_cells[index].text);
    return true;
}

QString RoundModel::targetText() const
{
    return m_target >= 0 ? m_cells[m_target].text : QString();
}

RoundModel::Verdict RoundModel::press(int index, double now)
{
    if (!m_activity.timed || m_state != Running || m_target < 0 || index < 0 || index >= m_cells.size() ||
        m_cells[index].cleared)
        return Verdict::Ignored;
    ++m_summary.presses;
    BoardCell& pressed = m_cells[index];
    const bool right = pressed.text == targetText();
    emit answered(m_cells[m_target].number, pressed.number, right,
                  std::llround((now - m_targetShownAt) * MsPerDay));
    if (!right) {
        ++m_errors;
        noteMiss(pressed);
        emit errorCounted(m_errors);
        return Verdict::Wrong;
    }
    ++m_summary.found;
    pressed.cleared = true;
    emit cellFound(index, m_summary.found);
    if (!chooseTarget(now)) {
        stopClock(now);
        m_state = Finished;
        emit roundEnded(result(now));
    }
    return Verdict::Right;
}

void RoundModel::noteMiss(const BoardCell& pressed)
{
    const BoardCell& wanted = m_cells[m_target];
    for (MissedSymbol& missed : m_summary.missed) {
        if (missed.name == wanted.text) {
            ++missed.wrongPresses;
            missed.pressedName = pressed.text;
            return;
        }
    }
    m_summary.missed.append({wanted.text, wanted.picture, pressed.text, 1});
}

void RoundModel::pause(double now)
{
    if (m_state != Running)
        return;
    m_pausedAt = now;
    stopClock(now);
    m_state = Paused;
}

void RoundModel::resume(double now)
{
    if (m_state != Paused)
        return;
    m_state = Running;
    m_runningSince = now;
    m_targetShownAt += now - m_pausedAt;
}

void RoundModel::abandon(double now)
{
    stopClock(now);
    m_state = Finished;
}

void RoundModel::stopClock(double now)
{
    if (m_state == Running)
        m_elapsed += now - m_runningSince;
}

double RoundModel::elapsed(double now) const
{
    const double played = m_state == Running ? m_elapsed + (now - m_runningSince) : m_elapsed;
    // the clock counts whole milliseconds: differences of its values are rounded back to them
    return std::llround(played * MsPerDay) / MsPerDay;
}

FinishedRound RoundModel::result(double now) const
{
    return {elapsed(now), m_errors, m_summary, {}};
}
