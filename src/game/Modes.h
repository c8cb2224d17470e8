#pragma once

#include <QtGlobal>

// The screen modes of the main window.
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
} // namespace Mode
