// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/LegendQuiz.h"

#include "content/Language.h"
#include "content/NumberedText.h"
#include "game/CellItem.h"
#include "learning/AreaMarker.h"
#include "learning/LegendAreas.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
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

namespace {
// Where the label the sheet shows ends in an item's text ("7.5 km: the length ..."), or -1.
qsizetype labelEnd(const QString& itemText)
{
    constexpr qsizetype LongestLabel = 40;
    const qsizetype colon = itemText.indexOf(QLatin1Char(':'));
    return colon > LongestLabel ? -1 : colon;
}
} // namespace

QString LegendQuiz::sheetLabel(const QString& itemText)
{
    const qsizetype colon = labelEnd(itemText);
    return colon < 0 ? QString() : itemText.first(colon).trimmed();
}

QString LegendQuiz::promptText(const QString& itemText)
{
    // Asking with the label would give the answer away, so the question starts after it.
    const qsizetype colon = labelEnd(itemText);
    if (colon < 0)
        return itemText;
    QString prompt = itemText.mid(colon + 1).trimmed();
    if (!prompt.isEmpty())
        prompt[0] = prompt[0].toUpper();
    return prompt.isEmpty() ? itemText : prompt;
}

void LegendQuiz::showScore()
{
    const QString score = LoadString(StringId::QuizScore).arg(m_rightFirstTime).arg(m_answered);
    const QString title = LoadString(StringId::QuizTitle);
    m_controls.title->setText(score.isEmpty() ? title : title + QLatin1Char('\n') + score);
}

int LegendQuiz::questionCount()
{
    return ItemCount - 1; // the area outside the pictures is never asked
}

void LegendQuiz::enter()
{
    Randomize();
    for (int i = 1; i <= ItemCount; ++i) {
        CellItem* item = QuizItem(i);
        item->Text = itemText(i);
        item->SetCleared(i == OutsideItem);
    }
    m_rightFirstTime = 0;
    m_answered = 0;
    m_missedThis = false;
    drawQuestion();
    m_areas.SetAreasVisible(false);
    for (int tag = 1; tag <= ItemCount; ++tag) {
        AreaMarker* marker = m_areas.AreaByTag(tag);
        marker->setEmphasis(false);
        marker->setFillColor(AreaMarker::White);
        if (tag != OutsideItem)
            marker->show();
    }
    m_controls.page->setCursor(Qt::PointingHandCursor);
    showScore();
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
    m_controls.stepText->setPlainText(promptText(m_askedText));
}

bool LegendQuiz::allCleared() const
{
    return std::all_of(m_items.begin(), m_items.end(), [](const CellItem* item) { return item->Cleared(); });
}

void LegendQuiz::areaPressed(int tag)
{
    if (tag != m_askedItem) {
        // wrong: the area pressed turns red for a moment, the right one is outlined until found
        if (tag < 1 || tag > ItemCount || QuizItem(tag)->Cleared())
            return;
        m_missedThis = true;
        AreaMarker* wrong = m_areas.AreaByTag(tag);
        wrong->setFillColor(AreaMarker::WrongRed);
        QTimer::singleShot(WrongFlashMs, wrong, [wrong] { wrong->setFillColor(AreaMarker::White); });
        m_areas.AreaByTag(m_askedItem)->setEmphasis(true);
        return;
    }
    ++m_answered;
    if (!m_missedThis)
        ++m_rightFirstTime;
    m_missedThis = false;
    QuizItem(m_askedItem)->SetCleared(true);
    m_areas.AreaByTag(tag)->setEmphasis(false);
    m_areas.AreaByTag(tag)->hide();
    showScore();
    if (allCleared()) {
        MessageBoxes::showPlain(LoadString(StringId::QuizSummary).arg(m_rightFirstTime).arg(questionCount()));
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
    m_areas.AreaByTag(tag)->setFillColor(AreaMarker::HoverBlue);
}

void LegendQuiz::pageHovered()
{
    for (int t = 1; t <= ItemCount; ++t)
        m_areas.AreaByTag(t)->setFillColor(AreaMarker::White);
}
