#pragma once

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
    quint8 kind = 0; // SymbolKind of the question
    int index = 0;   // among the directions of the kind
    QuizFace question = QuizFace::Picture;
    quint8 answerKind = 0;
    QuizFace answer = QuizFace::Text;

    // Apart from the catalogues' numbers and the drill's, so that each direction ranks on its own.
    static constexpr qint32 FirstTestNumber = 9100;
    static constexpr qint32 TestNumbersPerKind = 10;
    // The number of questions a quiz may have. A quiz of each length is a test of its own: 10
    // questions rank under the direction's number (as every quiz did before lengths ranked apart),
    // 20 and 40 under that number plus 100 and 300 (the hundreds tell the questions in tens).
    static constexpr std::array<int, 3> Lengths = {10, 20, 40};
    static constexpr qint32 TestNumbersPerLength = 100;

    // The direction's own number: its quizzes of 10 questions rank under it, and the answer store
    // keeps the answers of every quiz of the direction under it.
    qint32 testNumber() const { return FirstTestNumber + kind * TestNumbersPerKind + index; }
    // The number a quiz of `questions` questions ranks under.
    qint32 testNumber(int questions) const
    {
        return testNumber() + (questions / Lengths[0] - 1) * TestNumbersPerLength;
    }
    // Its place in all(): the offset of its texts in the string table.
    int textOffset() const;
    int labelId() const;
    int testNameId() const;
    int promptId() const;
    // The direction's name for the results file and the ranked tables (at most 25 characters).
    QString testName() const;

    // Every direction, description symbols first, then whole lines, then map symbols.
    static const QList<QuizDirection>& all();
    static QList<QuizDirection> ofKind(quint8 kind);
};
