// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "learning/LegendControls.h"

#include <QObject>
#include <QString>
#include <array>

class LegendAreas;
class CellItem;

// The legend quiz: the memo shows the text of one area of the description sheet and the user
// clicks that area. The fourteen areas of tags 1..6 and 8..15 are asked once each in random
// order; a found area is hidden; a wrong click turns the area red for a moment and outlines the
// right one. The title keeps the score; after the last area a summary ends the quiz.
class LegendQuiz : public QObject
{
    Q_OBJECT

public:
    static constexpr int ItemCount = 15;
    // Item 7 belongs to the marker below the pictures and is never asked.
    static constexpr int OutsideItem = 7;
    // Items of the column picture's columns lose the first characters of their text.
    static constexpr int FirstColumnItem = 8;
    static constexpr int LastColumnItem = 15;
    static constexpr int ColumnPrefixLength = 4;

    // Creates the 15 quiz items, kept for the quiz's life.
    LegendQuiz(const LegendControls& controls, LegendAreas& areas, QObject* parent = nullptr);

    // A fresh quiz: seeds the shared generator, reads the item texts from "Legtab." + language
    // code, draws the first question and shows the 14 areas; hand cursor over the page.
    void enter();

    // A mouse press on the marker with `tag`: the asked one is found and hidden, others change
    // nothing. Emits finished() when every item is cleared.
    void areaPressed(int tag);
    // The mouse over the marker with `tag`: it turns lime, every other of tags 1..15 white.
    void areaHovered(int tag);
    // The mouse over the bare page: every marker of tags 1..15 turns white.
    void pageHovered();

    qint32 AskedItem() const { return m_askedItem; }
    QString AskedText() const { return m_askedText; }
    // Item i, 1..15.
    CellItem* QuizItem(int i) const;

    // The text of item i, from entry i of the legend texts file.
    static QString itemText(int i);
    // The question made of an item's text: without the sheet's own label, which is the answer.
    static QString promptText(const QString& itemText);
    // The sheet's own label that an item's text starts with ("7,5 km" of "7,5 km : la longueur"),
    // or empty.
    static QString sheetLabel(const QString& itemText);
    static int questionCount();
    static constexpr int WrongFlashMs = 700;

signals:
    void finished();

private:
    void drawQuestion();
    void showScore();
    bool allCleared() const;

    LegendControls m_controls;
    LegendAreas& m_areas;
    std::array<CellItem*, ItemCount> m_items{};
    qint32 m_askedItem = 0;
    int m_rightFirstTime = 0;
    int m_answered = 0;
    bool m_missedThis = false;
    QString m_askedText;
};
