// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"

#include <QString>
#include <array>

// A test as results are ranked under it: its number and its name (at most 25 characters in the
// results file).
struct TestIdentity
{
    qint32 number = 0;
    QString name;
};

// The numbers of tests and symbols that the program gives meaning to. The catalogues number their
// own tests below 9100; the quick quiz's and the drill's numbers lie apart, so that their results
// rank on their own.
namespace TestNumbers {

// Description symbols from 990 on are the sheet's special instructions, drawn from the picture
// library rather than the symbol font.
inline constexpr qint32 FirstLibraryNumber = 990;

// The quick quiz: 9100 + 10 x kind + direction for a quiz of 10 questions; one of 20 or 40
// questions ranks under that number plus 100 or 300 (the hundreds tell the questions in tens).
inline constexpr qint32 FirstQuickQuiz = 9100;
inline constexpr qint32 QuickQuizzesPerKind = 10;
inline constexpr std::array<int, 3> QuickQuizLengths = {10, 20, 40};
inline constexpr qint32 QuickQuizPerLength = 100;

// The direction's own number: its quizzes of 10 questions rank under it, and the answer store keeps
// the answers of every quiz of the direction under it.
constexpr qint32 quickQuiz(SymbolKind kind, int direction)
{
    return FirstQuickQuiz + toInt(kind) * QuickQuizzesPerKind + direction;
}
// The number a quiz of `questions` questions in that direction ranks under.
constexpr qint32 quickQuiz(SymbolKind kind, int direction, int questions)
{
    return quickQuiz(kind, direction) + (questions / QuickQuizLengths[0] - 1) * QuickQuizPerLength;
}

// The drill "My weak symbols": 9901 to 9903, one per kind.
inline constexpr qint32 FirstDrill = 9901;
constexpr qint32 drill(SymbolKind kind)
{
    return FirstDrill + toInt(kind);
}
constexpr bool isDrill(qint32 testNumber)
{
    return testNumber >= FirstDrill && testNumber < FirstDrill + SymbolKindCount;
}

} // namespace TestNumbers
