// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <array>

// The three kinds of symbols the learner answers; each keeps statistics of its own, since their
// numbers overlap (description symbol 101 is not map symbol 101). The values are stored: the answer
// store's kind column and the quick quiz's test numbers hold them.
enum class SymbolKind : quint8 { Description = 0, Line = 1, MapSymbol = 2 };

inline constexpr int SymbolKindCount = 3;
inline constexpr std::array<SymbolKind, SymbolKindCount> AllSymbolKinds = {
    SymbolKind::Description, SymbolKind::Line, SymbolKind::MapSymbol};

// The kind's stored number, which is also its place in a table by kind.
constexpr int toInt(SymbolKind kind)
{
    return int(kind);
}
// Whether `n` is the stored number of a kind.
constexpr bool isSymbolKind(int n)
{
    return n >= 0 && n < SymbolKindCount;
}
