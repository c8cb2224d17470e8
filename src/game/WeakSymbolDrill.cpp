// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/WeakSymbolDrill.h"

#include <QSet>
#include <algorithm>

namespace WeakSymbolDrill {

namespace {
// Look-alikes are picked from this many of the kind's most frequent confusions.
constexpr int ConfusionsLookedAt = 500;
} // namespace

Board buildBoard(const QList<SymbolStats>& symbols, const QList<Confusion>& confusions, QDate today,
                 int cells)
{
    Board board;
    if (symbols.isEmpty())
        return board;
    // each due symbol with its due date, worked out once
    QList<std::pair<QDate, const SymbolStats*>> due;
    for (const SymbolStats& s : symbols) {
        const QDate dueDate = s.dueDate();
        if (dueDate <= today)
            due.append({dueDate, &s});
        else if (!board.nextDue.isValid() || dueDate < board.nextDue)
            board.nextDue = dueDate;
    }
    if (due.isEmpty()) {
        board.status = Board::NothingDue;
        return board;
    }
    // Lowest box first; within a box the longest overdue, then the weakest lately.
    std::stable_sort(due.begin(), due.end(), [](const auto& a, const auto& b) {
        if (a.second->box != b.second->box)
            return a.second->box < b.second->box;
        if (a.first != b.first)
            return a.first < b.first;
        return a.second->recentAccuracy() < b.second->recentAccuracy();
    });
    board.status = Board::Ready;
    QSet<qint32> onBoard;
    for (const auto& [dueDate, s] : std::as_const(due)) {
        if (board.values.size() >= cells)
            break;
        board.values.append(s->value);
        onBoard.insert(s->value);
    }
    // The look-alikes: the partners of the board's symbols in the most frequent confusions first.
    QList<Confusion> ranked = confusions;
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Confusion& a, const Confusion& b) { return a.count > b.count; });
    const QSet<qint32> drilled = onBoard;
    for (const Confusion& c : std::as_const(ranked)) {
        if (board.values.size() >= cells)
            break;
        qint32 partner = 0;
        if (drilled.contains(c.target))
            partner = c.pressed;
        else if (drilled.contains(c.pressed))
            partner = c.target;
        else
            continue;
        if (!onBoard.contains(partner)) {
            board.values.append(partner);
            onBoard.insert(partner);
        }
    }
    return board;
}

Board buildBoard(const AnswerStore& store, SymbolKind kind, QDate today)
{
    return buildBoard(store.symbols(kind), store.confusions(kind, ConfusionsLookedAt), today);
}

} // namespace WeakSymbolDrill
