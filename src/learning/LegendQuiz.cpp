#include "learning/LegendQuiz.h"

#include "content/Language.h"
#include "content/NumberedText.h"
#include "game/CellItem.h"
#include "learning/LegendAreas.h"
#include "platform/Random.h"

#include <QPlainTextEdit>
#include <QWidget>
#include <algorithm>

LegendQuiz::LegendQuiz(const LegendControls& controls, LegendAreas& areas, QObject* parent)
    : QObject(parent), m_controls(controls), m_areas(areas)
{
    for (CellItem*& item : m_items)
        item = new CellItem(this);
}

CellItem* LegendQuiz::QuizItem(int i) const
{
    Q_ASSERT(i >= 1 && i <= ItemCount);
    return m_items.at(static_cast<std::size_t>(i - 1));
}

QString LegendQuiz::itemText(int i)
{
    // the walkthrough's file, named with a capital here: letter case does not tell files apart
    QString text = ReadNumberedText(ContentFileName(QStringLiteral("Legtab.")), i);
    if (i >= FirstColumnItem && i <= LastColumnItem)
        text.remove(0, ColumnPrefixLength);
    return text;
}

void LegendQuiz::enter()
{
    Randomize();
    for (int i = 1; i <= ItemCount; ++i) {
        CellItem* item = QuizItem(i);
        item->Text = itemText(i);
        item->SetCleared(i == OutsideItem);
    }
    drawQuestion();
    m_areas.SetAreasVisible(false);
    for (int tag = 1; tag <= ItemCount; ++tag) {
        if (tag != OutsideItem)
            m_areas.AreaByTag(tag)->show();
    }
    m_controls.page->setCursor(Qt::PointingHandCursor);
}

void LegendQuiz::drawQuestion()
{
    // Uniform over all items, drawn again until one still open comes up. Callers make sure one is.
    int i = 0;
    do {
        i = Random(ItemCount) + 1;
    } while (QuizItem(i)->Cleared());
    m_askedItem = i;
    m_askedText = QuizItem(i)->Text;
    m_controls.stepText->setPlainText(m_askedText);
}

bool LegendQuiz::allCleared() const
{
    return std::all_of(m_items.begin(), m_items.end(), [](const CellItem* item) { return item->Cleared(); });
}

void LegendQuiz::areaPressed(int tag)
{
    if (tag != m_askedItem)
        return;
    QuizItem(m_askedItem)->SetCleared(true);
    m_areas.AreaByTag(tag)->hide();
    if (allCleared()) {
        emit finished();
        return;
    }
    drawQuestion();
}

void LegendQuiz::areaHovered(int tag)
{
    for (int t = 1; t <= ItemCount; ++t) {
        if (t != tag)
            m_areas.AreaByTag(t)->setFillColor(AreaMarker::White);
    }
    m_areas.AreaByTag(tag)->setFillColor(AreaMarker::Lime);
}

void LegendQuiz::pageHovered()
{
    for (int t = 1; t <= ItemCount; ++t)
        m_areas.AreaByTag(t)->setFillColor(AreaMarker::White);
}
