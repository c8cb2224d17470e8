// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/AnswerStore.h"

#include <QDate>
#include <QList>

// The drill "My weak symbols": a board built from the learner's own answers. Each symbol answered
// as a target sits in a Leitner box (a round in which it was answered wrong sends it to box 1, a
// round in which it was found at once moves it up one box) and box n is due again 2^(n-1) days
// after the day of its last answer. The board takes the due symbols,
// lowest box first, and fills the cells left with the symbols most often confused with them.
namespace WeakSymbolDrill {

// The drills' test numbers are TestNumbers::drill(kind).
inline constexpr int BoardCells = 15;

struct Board
{
    enum Status { Ready, NoHistory, NothingDue };
    Status status = NoHistory;
    QList<qint32> values;
    // With nothing due: the first day something is due again.
    QDate nextDue;
};

// The board for the symbols of one kind on `today`.
Board buildBoard(const QList<SymbolStats>& symbols, const QList<Confusion>& confusions, QDate today,
                 int cells = BoardCells);
// The same from the store (its confusions of the kind, most frequent first).
Board buildBoard(const AnswerStore& store, SymbolKind kind, QDate today);

} // namespace WeakSymbolDrill
