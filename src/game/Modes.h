// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/Activity.h"

#include <QtGlobal>
#include <optional>

// The screen modes of the main window. The numbers are stored (the answer store keeps each
// round's mode); the board's screens each show one activity.
namespace Mode {
enum : quint8 {
    LegendWalkthrough = 0,
    LegendQuiz = 1,
    DescriptionPractice = 2,
    DescriptionTest = 3,
    CombinationPractice = 4,
    CombinationTest = 5,
    MainMenu = 6,
    MapSymbolTest = 7,
    MapSymbolPractice = 8,
    // No screen of the main window: the quick quiz is a dialog of its own, and the answer store
    // keeps its rounds under this mode.
    QuickQuiz = 9,
};

// Modes 3, 5 and 7 are the timed tests.
constexpr bool isTimed(quint8 mode)
{
    return mode == DescriptionTest || mode == CombinationTest || mode == MapSymbolTest;
}
constexpr bool isPractice(quint8 mode)
{
    return mode == DescriptionPractice || mode == CombinationPractice || mode == MapSymbolPractice;
}
constexpr bool showsTestSelection(quint8 mode)
{
    return isTimed(mode) || isPractice(mode);
}

// The activity a board's screen plays; none for the other screens.
constexpr std::optional<Activity> activityOf(quint8 mode)
{
    switch (mode) {
    case DescriptionPractice:
        return Activity{SymbolKind::Description, false};
    case DescriptionTest:
        return Activity{SymbolKind::Description, true};
    case CombinationPractice:
        return Activity{SymbolKind::Line, false};
    case CombinationTest:
        return Activity{SymbolKind::Line, true};
    case MapSymbolPractice:
        return Activity{SymbolKind::MapSymbol, false};
    case MapSymbolTest:
        return Activity{SymbolKind::MapSymbol, true};
    default:
        return std::nullopt;
    }
}
// The kind of symbols a screen plays: description symbols for a screen without a board.
constexpr SymbolKind kindOf(quint8 mode)
{
    return activityOf(mode).value_or(Activity{}).kind;
}
// The board's screen that shows an activity.
constexpr quint8 screenOf(Activity activity)
{
    switch (activity.kind) {
    case SymbolKind::Line:
        return activity.timed ? CombinationTest : CombinationPractice;
    case SymbolKind::MapSymbol:
        return activity.timed ? MapSymbolTest : MapSymbolPractice;
    case SymbolKind::Description:
        break;
    }
    return activity.timed ? DescriptionTest : DescriptionPractice;
}
} // namespace Mode
