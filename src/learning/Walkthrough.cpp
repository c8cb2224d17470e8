#include "learning/Walkthrough.h"

#include "content/Language.h"
#include "content/NumberedText.h"
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

constexpr int OutsideStep = 7; // marker 7 lies below the pictures; its step has no title
constexpr TitleGroup TitleGroups[] = {
    {1, 6, StringId::WalkthroughTitle},
    {8, 15, StringId::ColumnsTitle},
    {16, 16, StringId::MarkedRouteTitle},
    {17, 29, StringId::LineMeaningTitle},
};

} // namespace

Walkthrough::Walkthrough(const LegendControls& controls, LegendAreas& areas)
    : m_controls(controls), m_areas(areas)
{}

QString Walkthrough::stepTitle(int step)
{
    if (step == OutsideStep)
        return {};
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

void Walkthrough::enter()
{
    m_controls.note->setText(LoadString(StringId::ThickerLinesNote));
    m_controls.title->setText(stepTitle(FirstStep));
    m_step = FirstStep;
    m_areas.SetAreasVisible(false);
    // the quiz may have left a highlight behind; the tour shows the plain outlines
    for (AreaMarker* marker : m_areas.markers())
        marker->setFillColor(AreaMarker::White);
    m_areas.AreaByTag(FirstStep)->show();
    m_controls.stepText->clear();
    m_controls.backButton->setEnabled(false);
    m_controls.nextButton->setEnabled(true);
    m_controls.stepText->setPlainText(stepText(m_step));
    m_controls.page->setCursor(Qt::ArrowCursor);
}

void Walkthrough::next()
{
    if (m_step >= LastStep)
        return;
    ++m_step;
    if (m_step >= LastStep)
        m_controls.nextButton->setEnabled(false);
    m_controls.title->setText(stepTitle(m_step));
    showStep();
    m_controls.backButton->setEnabled(true);
}

void Walkthrough::back()
{
    if (m_step <= FirstStep)
        return;
    --m_step;
    m_controls.title->setText(stepTitle(m_step));
    if (m_step <= FirstStep)
        m_controls.backButton->setEnabled(false);
    if (m_step < LastStep)
        m_controls.nextButton->setEnabled(true);
    showStep();
}

void Walkthrough::showStep()
{
    m_areas.SetAreasVisible(false);
    m_areas.AreaByTag(m_step)->show();
    m_controls.stepText->setPlainText(stepText(m_step));
}
