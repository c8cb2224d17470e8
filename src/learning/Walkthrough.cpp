// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/Walkthrough.h"

#include "content/Language.h"
#include "content/NumberedText.h"
#include "learning/AreaMarker.h"
#include "learning/LegendAreas.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace {

// Title groups of the walkthrough: steps first..last share one title.
struct TitleGroup
{
    int first;
    int last;
    int stringId;
};

// Step 7 (marker 7 lies below the pictures) introduces the columns that steps 8 to 15 explain.
constexpr TitleGroup TitleGroups[] = {
    {1, 6, StringId::WalkthroughTitle},
    {7, 15, StringId::ColumnsTitle},
    {16, 16, StringId::MarkedRouteTitle},
    {17, 29, StringId::LineMeaningTitle},
};

} // namespace

Walkthrough::Walkthrough(const LegendControls& controls, LegendAreas& areas)
    : m_controls(controls), m_areas(areas)
{}

QString Walkthrough::stepTitle(int step)
{
    for (const TitleGroup& group : TitleGroups) {
        if (step >= group.first && step <= group.last)
            return LoadString(group.stringId);
    }
    return {};
}

QString Walkthrough::stepText(int step)
{
    return ReadNumberedText(ContentFileName(QStringLiteral("legtab.")), step);
}

QString Walkthrough::heading(int step)
{
    const QString counter = LoadString(StringId::StepCounter).arg(step).arg(LastStep);
    return counter.isEmpty() ? stepTitle(step) : stepTitle(step) + QLatin1Char('\n') + counter;
}

void Walkthrough::enter()
{
    m_controls.note->setText(LoadString(StringId::ThickerLinesNote));
    if (m_nextCaption.isEmpty())
        m_nextCaption = m_controls.nextButton->property("Caption").toString();
    m_step = FirstStep;
    m_controls.stepText->clear();
    m_controls.backButton->setEnabled(false);
    m_controls.nextButton->setEnabled(true);
    showStep();
    m_controls.page->setCursor(Qt::ArrowCursor);
}

void Walkthrough::next()
{
    if (m_step >= LastStep) {
        // the last step's "Next" offers the quiz
        if (m_quizRequested)
            m_quizRequested();
        return;
    }
    ++m_step;
    showStep();
    m_controls.backButton->setEnabled(true);
}

void Walkthrough::back()
{
    if (m_step <= FirstStep)
        return;
    --m_step;
    if (m_step <= FirstStep)
        m_controls.backButton->setEnabled(false);
    showStep();
}

void Walkthrough::showStep()
{
    m_controls.title->setText(heading(m_step));
    m_areas.SetAreasVisible(false);
    // the part explained stands out at once: tinted, with a thick outline
    for (AreaMarker* marker : m_areas.markers()) {
        marker->setFillColor(AreaMarker::White);
        marker->setEmphasis(false);
    }
    AreaMarker* shown = m_areas.AreaByTag(m_step);
    shown->setFillColor(AreaMarker::StepTint);
    shown->setEmphasis(true);
    shown->show();
    m_controls.stepText->setPlainText(stepText(m_step));
    const QString tryQuiz = LoadString(StringId::TryQuizCaption);
    const bool offerQuiz = m_step >= LastStep && !tryQuiz.isEmpty() && m_quizRequested;
    m_controls.nextButton->setProperty("Caption", offerQuiz ? tryQuiz : m_nextCaption);
    m_controls.nextButton->setEnabled(m_step < LastStep || offerQuiz);
}

void Walkthrough::leave()
{
    if (!m_nextCaption.isEmpty())
        m_controls.nextButton->setProperty("Caption", m_nextCaption);
    for (AreaMarker* marker : m_areas.markers()) {
        marker->setFillColor(AreaMarker::White);
        marker->setEmphasis(false);
    }
}
