// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "learning/LegendControls.h"

#include <QObject>
#include <QString>
#include <memory>

class AreaMarker;
class LegendAreas;
class LegendQuiz;
class CellItem;
class Walkthrough;

// The page "Learn general" with its two sheet pictures and 29 area markers, serving the legend
// walkthrough (mode 0) and the legend quiz (mode 1). The main window creates it once, after the
// symbol font is registered, shows the page before entering a mode and forwards its buttons; the
// page reports the end of a quiz with quizFinished().
class LegendPage : public QObject
{
    Q_OBJECT

public:
    // Every control must be given. Creates the markers (hidden) and the 15 quiz items and watches
    // the mouse over the page; the sheet pictures are drawn into Tabl1 and Image3 on the first entry
    // of either mode.
    explicit LegendPage(const LegendControls& controls, QObject* parent = nullptr);
    ~LegendPage() override;

    // Walkthrough entry, "Next >>>" and "<<< Back".
    void enterWalkthrough();
    void next();
    void back();
    // Quiz entry; the caller has set the title, emptied the memo and hidden the buttons.
    void enterQuiz();
    // The keyboard's answer area in the quiz: moved through the open areas, chosen like a click.
    void moveQuizFocus(int step);
    void chooseQuizFocus();
    // The mode ends (the main menu or another mode): presses and moves over markers no longer
    // count until the next entry.
    void leave();

    void SetAreasVisible(bool visible);
    // The first marker carrying `tag` (1..29); any other tag is a programming error.
    AreaMarker* AreaByTag(int tag) const;

    qint32 LegendStep() const;
    qint32 AskedItem() const;
    QString AskedText() const;
    // Quiz item i, 1..15.
    CellItem* QuizItem(int i) const;

    bool quizActive() const { return m_mode == Mode::Quiz; }

signals:
    // The last area of the quiz was found; the main window goes to the main menu.
    void quizFinished();
    // "Try the quiz" on the walkthrough's last step.
    void quizRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Mode { None, Walkthrough, Quiz };

    void onAreaPressed(AreaMarker* marker);
    void onAreaHovered(AreaMarker* marker);
    void onQuizFinished();
    void drawSheetPictures();

    LegendControls m_controls;
    std::unique_ptr<LegendAreas> m_areas;
    std::unique_ptr<Walkthrough> m_walkthrough;
    LegendQuiz* m_quiz = nullptr;
    Mode m_mode = Mode::None;
    int m_quizFocus = 0;
    bool m_sheetDrawn = false;
};
