// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "learning/QuizDirection.h"

#include <QList>
#include <array>
#include <optional>

class QuizContent;

// One question of the quick quiz: a symbol to ask about and four answers, one of them right.
struct QuickQuestion
{
    static constexpr int ChoiceCount = 4;

    QuizDirection direction;
    qint32 subject = 0;                        // a symbol of direction.kind
    std::array<qint32, ChoiceCount> choices{}; // symbols of direction.answerKind
    int right = 0;
    // Each choice as the answer store keeps it, a symbol of the question's kind: the choice itself,
    // or the symbol paired with it when the answers are of the other kind; AnswerStore::NoPress
    // when it has none.
    std::array<qint32, ChoiceCount> storedAs{};
};

// Makes the questions of the quick quiz. The three answers beside the right one are the symbols
// most like it: those the learner has confused with it, then those of the same family or column
// (description symbols), of the same group or described by the same symbol (map symbols), or with
// the most cells in common (whole lines); a random one of equally alike ones. An answer that would
// also be right, or that looks like another answer, is never offered: a name only once, no second
// symbol paired with the question, and for a map excerpt or a ground sketch only lines that differ
// from the right one in what the picture shows.
class QuizMaker
{
public:
    explicit QuizMaker(const QuizContent& content) : m_content(content) {}

    // The symbols the direction can ask about, in the content's order.
    QList<qint32> subjects(const QuizDirection& direction) const;
    // A question about `subject`; none when the content lacks a right answer or three others.
    std::optional<QuickQuestion> question(const QuizDirection& direction, qint32 subject) const;
    // `count` questions about subjects drawn at random; a subject comes again only when every
    // other one has been asked. Empty when the direction can ask nothing.
    QList<QuickQuestion> questions(const QuizDirection& direction, int count) const;

private:
    bool askable(const QuizDirection& d, qint32 subject) const;
    QList<qint32> rightAnswers(const QuizDirection& d, qint32 subject) const;
    // Whether `candidate` may be offered beside the right answer and the answers already chosen.
    bool mayOffer(const QuizDirection& d, qint32 subject, qint32 candidate,
                  const QList<qint32>& offered) const;
    // How like the right answer a candidate is: 0 not alike, higher more alike.
    int likeness(const QuizDirection& d, qint32 subject, qint32 right, qint32 candidate) const;
    // The three answers beside `right`, most alike first; fewer when the content has no more.
    QList<qint32> othersBeside(const QuizDirection& d, qint32 subject, qint32 right, bool shuffled) const;
    qint32 storedAs(const QuizDirection& d, qint32 subject, qint32 choice) const;

    const QuizContent& m_content;
};
