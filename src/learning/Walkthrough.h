// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "learning/LegendControls.h"

#include <QString>

class LegendAreas;

// The legend walkthrough: a guided tour of the description sheet in 29 steps. Each step outlines
// one area of the sheet pictures (or marks one row with a circle), names its group in the title
// label and shows its explanatory text from the legend texts file of the current language.
class Walkthrough
{
public:
    static constexpr int FirstStep = 1;
    static constexpr int LastStep = 29;

    Walkthrough(const LegendControls& controls, LegendAreas& areas);

    // Starts at step 1: note label, title, marker 1 alone, memo; "<<< Back" off, "Next >>>" on,
    // arrow cursor over the page.
    void enter();
    // "Next >>>" and "<<< Back". The buttons are disabled at the ends, so the step stays in
    // 1..29; a call past an end changes nothing.
    void next();
    void back();

    qint32 LegendStep() const { return m_step; }
    // The walkthrough is left: "Next >>>" gets its caption back, the markers their plain look.
    void leave();
    // Called by "Next" on the last step, which then offers the quiz.
    void setQuizRequest(std::function<void()> request) { m_quizRequested = std::move(request); }

    // The title of a step's group of steps.
    static QString stepTitle(int step);
    // The title label's text: the group's title and "Step n of 29".
    static QString heading(int step);
    // The memo's text for a step: entry `step` of "legtab." + language code, empty when missing.
    static QString stepText(int step);

private:
    void showStep();

    LegendControls m_controls;
    LegendAreas& m_areas;
    qint32 m_step = FirstStep;
    QString m_nextCaption;
    std::function<void()> m_quizRequested;
};
