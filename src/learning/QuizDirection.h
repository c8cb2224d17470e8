// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/TestNumbers.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <array>

// How an item of the quick quiz is shown: its picture (the pictogram, the map symbol's picture, the
// whole line), its text (the name, the line's reading), or for a whole line the map excerpt with the
// control circle or the sketch of the ground with the flag.
enum class QuizFace : quint8 { Picture, Text, MapExcerpt, GroundSketch };

// One way of asking: a question about an item of one kind shown one way, answered by choosing one
// of four items (of the same kind, or of the other kind of symbols for the pairs of map and
// description symbols) shown another way. Its quizzes of each length rank under a test number of
// their own.
struct QuizDirection
{
    SymbolKind kind = SymbolKind::Description; // of the question
    int index = 0;                             // among the directions of the kind
    QuizFace question = QuizFace::Picture;
    SymbolKind answerKind = SymbolKind::Description;
    QuizFace answer = QuizFace::Text;

    // The number of questions a quiz may have; a quiz of each length is a test of its own.
    static constexpr std::array<int, 3> Lengths = TestNumbers::QuickQuizLengths;

    // The direction's own number: its quizzes of 10 questions rank under it, and the answer store
    // keeps the answers of every quiz of the direction under it.
    qint32 testNumber() const { return TestNumbers::quickQuiz(kind, index); }
    // The number a quiz of `questions` questions ranks under.
    qint32 testNumber(int questions) const { return TestNumbers::quickQuiz(kind, index, questions); }
    // Its place in all(): the offset of its texts in the string table.
    int textOffset() const;
    int labelId() const;
    int testNameId() const;
    int promptId() const;
    // The direction's name for the results file and the ranked tables (at most 25 characters).
    QString testName() const;

    // Every direction, description symbols first, then whole lines, then map symbols.
    static const QList<QuizDirection>& all();
    static QList<QuizDirection> ofKind(SymbolKind kind);
};
