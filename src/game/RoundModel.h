// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/Activity.h"
#include "domain/FinishedRound.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

// One cell of the board as a round sees it: the symbol's number and name, the picture that stands
// for it in a summary, and whether it was found.
struct BoardCell
{
    qint32 number = 0;
    QString text;
    QImage picture;
    bool cleared = false;
};

// The rules of one round on the board, without a widget: the target, the judging of a press, the
// errors, the time played (pauses do not count) and the finished round. The board's cells are held
// by value in the order the board shows them. Any cell with the target's name is a right answer.
class RoundModel : public QObject
{
    Q_OBJECT
public:
    enum State : quint8 { Running = 0, Finished = 1, Paused = 3 };
    enum class Verdict { Ignored, Right, Wrong };

    // Begins a round of `activity` on `cells` at `now` (days). A timed round names its first target.
    void start(const Activity& activity, const QList<BoardCell>& cells, double now);
    // Judges a press of cell `index` in a timed round at `now`; presses of practice, of a finished or
    // paused round, of a cleared cell or of no cell are ignored. The last right press ends the round.
    Verdict press(int index, double now);
    // A running round pauses; a paused one runs on. The time paused counts neither for the round nor
    // for the answer to the target.
    void pause(double now);
    void resume(double now);
    // The round is left unfinished (the main menu): the time played up to now stays its time.
    void abandon(double now);

    const Activity& activity() const { return m_activity; }
    State state() const { return m_state; }
    const QList<BoardCell>& cells() const { return m_cells; }
    // The cell named as the target (-1 before the first) and its name.
    int target() const { return m_target; }
    QString targetText() const;
    int errors() const { return m_errors; }
    const RoundSummary& summary() const { return m_summary; }
    // The time played (days) up to `now` or, once the round is over, up to its end, in whole
    // milliseconds.
    double elapsed(double now) const;
    // The round as a value: its time up to `now`, its errors and how it went.
    FinishedRound result(double now) const;

    // The rule of choosing a target among `count` cells: random draws until one is `usable`; a
    // random source that never reaches one gives the next usable cell after its draw. -1 when no
    // cell is usable.
    static int drawTarget(int count, const std::function<bool(int)>& usable);

signals:
    void targetChanged(int cell, const QString& text);
    // A judged press: the target's number, the pressed cell's number, whether it was right, and the
    // milliseconds since the target was named.
    void answered(qint32 targetValue, qint32 pressedValue, bool right, qint64 msSinceTargetShown);
    void errorCounted(int errors);
    // A right press found the cell at `index`; `found` cells are found now.
    void cellFound(int index, int found);
    // The last target was found.
    void roundEnded(const FinishedRound& round);

private:
    bool usable(int index) const;
    // Names a random usable cell as the target; false when none is left.
    bool chooseTarget(double now);
    void noteMiss(const BoardCell& pressed);
    void stopClock(double now);

    Activity m_activity;
    QList<BoardCell> m_cells;
    RoundSummary m_summary;
    int m_target = -1;
    int m_errors = 0;
    State m_state = Finished;
    // The time played before the round last started running, and the moment it did.
    double m_elapsed = 0;
    double m_runningSince = 0;
    // When the current target was named, and when the pause began.
    double m_targetShownAt = 0;
    double m_pausedAt = 0;
};
