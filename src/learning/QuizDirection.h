#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// How an item of the quick quiz is shown: its picture (the pictogram, the map symbol's picture, the
// whole line), its text (the name, the line's reading), or for a whole line the map excerpt with the
// control circle or the sketch of the ground with the flag.
enum class QuizFace : quint8 { Picture, Text, MapExcerpt, GroundSketch };

// One way of asking: a question about an item of one kind shown one way, answered by choosing one
// of four items (of the same kind, or of the other kind of symbols for the pairs of map and
// description symbols) shown another way. Its results rank under a test number of its own.
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

    qint32 testNumber() const { return FirstTestNumber + kind * TestNumbersPerKind + index; }
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
