// SPDX-License-Identifier: GPL-3.0-or-later
// The main window played with the keyboard alone: focus order, arrows, Return and Space, the
// mnemonics of the main menu, and the keys of each screen. The mouse keeps working as before.

#include "app/TForm1.h"

#include "content/Language.h"
#include "game/GameRound.h"
#include "game/GridAccessible.h"
#include "game/TMyDrawGrid.h"
#include "learning/LegendPage.h"
#include "widgets/TCommandButton.h"
#include "widgets/TGauge.h"
#include "widgets/TLinkLabel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QToolButton>

namespace {

// The letter the language marked with "&" in `caption`, or none.
QChar markedLetter(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (caption[i + 1] != QLatin1Char('&'))
                return caption[i + 1];
            ++i;
        }
    }
    return {};
}

// The Alt letter of an item: the one its language marked, unless another item took it, else the
// first free letter of its caption, a letter of the plain alphabet first (every keyboard has
// those keys); none when all are taken.
QChar freeLetter(const QString& caption, QString& taken)
{
    const auto free = [&taken](QChar c) { return c.isLetter() && !taken.contains(c.toLower()); };
    QChar letter = markedLetter(caption);
    const QString plain = QString(caption).remove(QLatin1Char('&'));
    for (int pass = 0; pass < 2 && !free(letter); ++pass) {
        for (const QChar c : plain) {
            if (free(c) && (pass == 1 || c.unicode() < 0x80)) {
                letter = c;
                break;
            }
        }
    }
    if (!free(letter))
        return {};
    taken += letter.toLower();
    return letter;
}

// `caption` with "&" before the first `letter` (the marked one if it is that letter), the way a
// button shows its Alt letter.
QString withMnemonic(const QString& caption, QChar letter)
{
    if (!letter.isNull() && markedLetter(caption) == letter)
        return caption;
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    const qsizetype at = plain.indexOf(letter);
    if (!letter.isNull() && at >= 0)
        plain.insert(at, QLatin1Char('&'));
    return plain;
}

// The next widget of `ring` after `current` (or before, for step -1) that can take the focus.
QWidget* neighbour(const QList<QWidget*>& ring, QWidget* current, int step)
{
    QList<QWidget*> usable;
    for (QWidget* w : ring) {
        if (w->isVisible() && w->isEnabled())
            usable << w;
    }
    if (usable.isEmpty())
        return nullptr;
    const qsizetype at = usable.indexOf(current);
    if (at < 0)
        return step > 0 ? usable.first() : usable.last();
    return usable[(at + step + usable.size()) % usable.size()];
}

void activate(QWidget* w)
{
    if (auto* tool = qobject_cast<QToolButton*>(w))
        tool->click();
    else if (auto* command = qobject_cast<TCommandButton*>(w))
        emit command->clicked();
}

} // namespace

void TForm1::nameControls()
{
    // A screen reader names each control; pictures and counters say what they are.
    GridAccessible::install();
    const std::pair<QWidget*, int> names[] = {{m_grid, StringId::BoardName},
                                              {m_gauge, StringId::ProgressName},
                                              {m_clockLabel, StringId::ClockName},
                                              {m_errorCountLabel, StringId::ErrorCountName},
                                              {m_image1, StringId::SketchPictureName},
                                              {m_image2, StringId::ExcerptPictureName},
                                              {m_imageTextMode, StringId::TargetPictureName}};
    for (const auto& [widget, id] : names)
        widget->setAccessibleName(LoadString(id));
    m_linkLabel->setAccessibleName(m_linkLabel->caption());
}

void TForm1::setUpKeyboard()
{
    // the window itself takes the keys of the quiz
    setFocusPolicy(Qt::ClickFocus);
    // Every item of the main menu can take the focus, in visual order.
    QList<QWidget*> order{m_learningButton, m_testingButton};
    for (QToolButton* topic : std::as_const(m_topicButtons))
        order << topic;
    for (TCommandButton* side : sideButtons())
        order << side;
    for (QWidget* w : std::as_const(order)) {
        w->setFocusPolicy(Qt::StrongFocus);
        // buttons move the focus along the tab order on their own; the main menu has its own rows
        w->installEventFilter(this);
    }
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Alt + a letter of each item's caption; the captions come from the language, so do the letters.
    QString taken;
    // A button with a "&" makes its own shortcut of the letter after it.
    QList<QToolButton*> tools{m_learningButton, m_testingButton};
    tools << m_topicButtons;
    for (QToolButton* button : std::as_const(tools))
        button->setText(withMnemonic(button->text(), freeLetter(button->text(), taken)));
    for (TCommandButton* side : sideButtons()) {
        const QChar letter = freeLetter(side->caption(), taken);
        side->setCaption(withMnemonic(side->caption(), letter));
        if (letter.isNull())
            continue;
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(letter.toUpper().unicode())), this);
        connect(shortcut, &QShortcut::activated, side, [side] {
            if (side->isVisible() && side->isEnabled())
                emit side->clicked();
        });
    }

    connect(m_grid, &TMyDrawGrid::FocusCellMoved, m_round.get(), &GameRound::hoverCell);
    connect(m_grid, &TMyDrawGrid::HelpRequested, this, [this](int cell) {
        // help on a cell is for practice; in a test it would give the answer away
        if (Mode::isPractice(m_currentMode))
            showHelpFor(cell);
    });
}

QList<TCommandButton*> TForm1::sideButtons() const
{
    return {m_settingsButton, m_resultsButton, m_progressButton, m_quickQuizButton, m_nextButton,
            m_backButton,     m_pauseButton,   m_mainMenuButton, m_exitButton};
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    bool handled = false;
    switch (m_currentMode) {
    case Mode::MainMenu:
        handled = mainMenuKey(key);
        break;
    case Mode::LegendWalkthrough:
        handled = walkthroughKey(key);
        break;
    case Mode::LegendQuiz:
        handled = quizKey(key);
        break;
    default:
        handled = gameKey(key);
        break;
    }
    if (handled)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool TForm1::mainMenuKey(int key)
{
    QWidget* focused = focusWidget();
    QList<QWidget*> topics;
    for (QToolButton* topic : std::as_const(m_topicButtons))
        topics << topic;
    QList<QWidget*> across{m_learningButton, m_testingButton};
    for (TCommandButton* side : sideButtons())
        across << side;
    QWidget* next = nullptr;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        next = neighbour(topics, topics.contains(focused) ? focused : nullptr, key == Qt::Key_Down ? 1 : -1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        next = neighbour(across, across.contains(focused) ? focused : nullptr, key == Qt::Key_Right ? 1 : -1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (focused && (topics.contains(focused) || across.contains(focused))) {
            activate(focused);
            return true;
        }
        return false;
    default:
        return false;
    }
    if (next)
        next->setFocus(Qt::TabFocusReason);
    return next != nullptr;
}

bool TForm1::walkthroughKey(int key)
{
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        m_legend->next();
        return true;
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        m_legend->back();
        return true;
    case Qt::Key_Escape:
        returnToMainMenu();
        return true;
    default:
        return false;
    }
}

bool TForm1::quizKey(int key)
{
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        m_legend->moveQuizFocus(1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
        m_legend->moveQuizFocus(-1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        m_legend->chooseQuizFocus();
        return true;
    case Qt::Key_Escape:
        returnToMainMenu();
        return true;
    default:
        return false;
    }
}

bool TForm1::gameKey(int key)
{
    if (key == Qt::Key_Escape) {
        if (mayLeaveRound())
            returnToMainMenu();
        return true;
    }
    if (key == Qt::Key_P && Mode::isTimed(m_currentMode) && m_round->GameState() != GameRound::Finished) {
        m_round->pause();
        if (m_round->GameState() == GameRound::Running)
            m_grid->setFocus();
        return true;
    }
    return false;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_currentMode == Mode::MainMenu) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool arrowOrPress = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left ||
                                  key == Qt::Key_Right || key == Qt::Key_Return || key == Qt::Key_Enter;
        if (arrowOrPress && mainMenuKey(key))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm1::focusNextPrevChild(bool next)
{
    // In the quiz, Tab moves between the answer areas of the sheet.
    if (m_currentMode == Mode::LegendQuiz) {
        m_legend->moveQuizFocus(next ? 1 : -1);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}
