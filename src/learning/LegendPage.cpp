#include "learning/LegendPage.h"

#include "learning/AreaMarker.h"
#include "learning/LegendAreas.h"
#include "learning/LegendQuiz.h"
#include "learning/SheetPictures.h"
#include "learning/Walkthrough.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <stdexcept>

namespace {

const LegendControls& checked(const LegendControls& controls)
{
    const bool complete = controls.TabSheet1 && controls.Tabl1 && controls.Image3 && controls.Memo1 &&
                          controls.Label5 && controls.Label1 && controls.NextButton && controls.BackButton;
    Q_ASSERT_X(complete, "LegendPage", "a control of the page is missing");
    if (!complete)
        throw std::invalid_argument("LegendPage: a control of the page is missing");
    return controls;
}

} // namespace

LegendPage::LegendPage(const LegendControls& controls, QObject* parent)
    : QObject(parent), m_controls(checked(controls))
{
    m_controls.Tabl1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_controls.Image3->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The memo is filled with the tooltip colour, enabled or not.
    QPalette memoPalette = m_controls.Memo1->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::ToolTipBase));
    m_controls.Memo1->setPalette(memoPalette);

    m_areas = std::make_unique<LegendAreas>(m_controls.TabSheet1);
    m_walkthrough = std::make_unique<Walkthrough>(m_controls, *m_areas);
    m_quiz = new LegendQuiz(m_controls, *m_areas, this);
    connect(m_quiz, &LegendQuiz::finished, this, &LegendPage::onQuizFinished);
    for (AreaMarker* marker : m_areas->markers()) {
        connect(marker, &AreaMarker::pressed, this, &LegendPage::onAreaPressed);
        connect(marker, &AreaMarker::hovered, this, &LegendPage::onAreaHovered);
    }

    // moves over the bare page, without a button held too
    m_controls.TabSheet1->setMouseTracking(true);
    m_controls.TabSheet1->installEventFilter(this);
}

LegendPage::~LegendPage() = default;

void LegendPage::drawSheetPictures()
{
    // Drawn on the first entry, not at start: the program should not wait for pages it may not show.
    if (m_sheetDrawn)
        return;
    m_controls.Tabl1->setPixmap(QPixmap::fromImage(SheetPictures::tablePicture()));
    m_controls.Image3->setPixmap(QPixmap::fromImage(SheetPictures::columnPicture()));
    m_sheetDrawn = true;
}

void LegendPage::enterWalkthrough()
{
    drawSheetPictures();
    m_mode = Mode::Walkthrough;
    m_walkthrough->enter();
}

void LegendPage::next()
{
    m_walkthrough->next();
}

void LegendPage::back()
{
    m_walkthrough->back();
}

void LegendPage::enterQuiz()
{
    drawSheetPictures();
    m_mode = Mode::Quiz;
    m_quiz->enter();
}

void LegendPage::leave()
{
    m_mode = Mode::None;
}

void LegendPage::SetAreasVisible(bool visible)
{
    m_areas->SetAreasVisible(visible);
}

AreaMarker* LegendPage::AreaByTag(int tag) const
{
    return m_areas->AreaByTag(tag);
}

qint32 LegendPage::LegendStep() const
{
    return m_walkthrough->LegendStep();
}

qint32 LegendPage::AskedItem() const
{
    return m_quiz->AskedItem();
}

QString LegendPage::AskedText() const
{
    return m_quiz->AskedText();
}

CellItem* LegendPage::QuizItem(int i) const
{
    return m_quiz->QuizItem(i);
}

void LegendPage::onAreaPressed(AreaMarker* marker)
{
    if (m_mode == Mode::Quiz)
        m_quiz->areaPressed(marker->Tag());
}

void LegendPage::onAreaHovered(AreaMarker* marker)
{
    if (m_mode == Mode::Quiz)
        m_quiz->areaHovered(marker->Tag());
}

void LegendPage::onQuizFinished()
{
    m_mode = Mode::None;
    emit quizFinished();
}

bool LegendPage::eventFilter(QObject* watched, QEvent* event)
{
    // Moves that reach the page from a control on it (a disabled memo passes them on) do not count:
    // only the bare background clears the highlight, in any mode.
    if (watched == m_controls.TabSheet1 && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (!m_controls.TabSheet1->childAt(move->position().toPoint()))
            m_quiz->pageHovered();
    }
    return QObject::eventFilter(watched, event);
}
