// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/LegendPage.h"

#include "game/CellItem.h"
#include "learning/AreaMarker.h"
#include "learning/LegendAreas.h"
#include "learning/LegendQuiz.h"
#include "learning/SheetPictures.h"
#include "learning/Walkthrough.h"
#include "platform/AppError.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <stdexcept>

namespace {

// The walkthrough's texts of the sheet's top row: course, length, climb.
constexpr int CourseItem = 1;
constexpr int LengthItem = 2;
constexpr int ClimbItem = 3;

const LegendControls& checked(const LegendControls& controls)
{
    const bool complete = controls.page && controls.sheetPicture && controls.columnPicture &&
                          controls.stepText && controls.note && controls.title && controls.nextButton &&
                          controls.backButton;
    Q_ASSERT_X(complete, "LegendPage", "a control of the page is missing");
    if (!complete)
        throw std::invalid_argument("LegendPage: a control of the page is missing");
    return controls;
}

} // namespace

LegendPage::LegendPage(const LegendControls& controls, QObject* parent)
    : QObject(parent), m_controls(checked(controls))
{
    m_controls.sheetPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_controls.columnPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The memo is filled with the tooltip colour, enabled or not.
    QPalette memoPalette = m_controls.stepText->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::ToolTipBase));
    m_controls.stepText->setPalette(memoPalette);

    m_areas = std::make_unique<LegendAreas>(m_controls.page);
    m_walkthrough = std::make_unique<Walkthrough>(m_controls, *m_areas);
    m_walkthrough->setQuizRequest([this] { emit quizRequested(); });
    m_quiz = new LegendQuiz(m_controls, *m_areas, this);
    connect(m_quiz, &LegendQuiz::finished, this, &LegendPage::onQuizFinished);
    for (AreaMarker* marker : m_areas->markers()) {
        connect(marker, &AreaMarker::pressed, this, &LegendPage::onAreaPressed);
        connect(marker, &AreaMarker::hovered, this, &LegendPage::onAreaHovered);
    }

    // moves over the bare page, without a button held too
    m_controls.page->setMouseTracking(true);
    m_controls.page->installEventFilter(this);
}

LegendPage::~LegendPage() = default;

void LegendPage::drawSheetPictures()
{
    // Drawn on the first entry, not at start: the program should not wait for pages it may not show.
    if (m_sheetDrawn)
        return;
    // the top row as the walkthrough's first three texts write it, in the language's own numbers
    SheetPictures::Heading heading;
    try {
        heading = {LegendQuiz::sheetLabel(LegendQuiz::itemText(CourseItem)),
                   LegendQuiz::sheetLabel(LegendQuiz::itemText(LengthItem)),
                   LegendQuiz::sheetLabel(LegendQuiz::itemText(ClimbItem))};
    } catch (const AppError&) {
        // the walkthrough names the file it cannot read; the sheet keeps the English heading
    }
    m_controls.sheetPicture->setPixmap(QPixmap::fromImage(SheetPictures::tablePicture(heading)));
    m_controls.columnPicture->setPixmap(QPixmap::fromImage(SheetPictures::columnPicture()));
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
    if (m_mode == Mode::Walkthrough)
        m_walkthrough->leave();
    drawSheetPictures();
    m_mode = Mode::Quiz;
    m_quiz->enter();
}

void LegendPage::moveQuizFocus(int step)
{
    if (m_mode != Mode::Quiz)
        return;
    QList<int> open;
    for (int tag = 1; tag <= LegendQuiz::ItemCount; ++tag) {
        if (!m_quiz->QuizItem(tag)->Cleared())
            open << tag;
    }
    if (open.isEmpty())
        return;
    const qsizetype at = open.indexOf(m_quizFocus);
    m_quizFocus =
        at < 0 ? (step > 0 ? open.first() : open.last()) : open[(at + step + open.size()) % open.size()];
    // the focused area is drawn as the hovered one
    m_quiz->areaHovered(m_quizFocus);
}

void LegendPage::chooseQuizFocus()
{
    if (m_mode != Mode::Quiz)
        return;
    if (m_quizFocus < 1 || m_quiz->QuizItem(m_quizFocus)->Cleared()) {
        moveQuizFocus(1);
        return;
    }
    m_quiz->areaPressed(m_quizFocus);
}

void LegendPage::leave()
{
    if (m_mode == Mode::Walkthrough)
        m_walkthrough->leave();
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
    if (watched == m_controls.page && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (!m_controls.page->childAt(move->position().toPoint()))
            m_quiz->pageHovered();
    }
    return QObject::eventFilter(watched, event);
}
