// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameRound.h"

#include "content/Language.h"
#include "game/Modes.h"
#include "game/RoundHost.h"
#include "game/TMyDrawGrid.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "widgets/TGauge.h"

#include <QLabel>
#include <QPixmap>
#include <QStackedWidget>
#include <algorithm>

namespace {
constexpr int ClockIntervalMs = 1000;
} // namespace

void GameRound::CellPicture::show(const QImage& image, int fromCell)
{
    cell = fromCell;
    if (image.isNull())
        label->clear();
    else
        label->setPixmap(QPixmap::fromImage(image));
}

void GameRound::CellPicture::clear()
{
    cell = -1;
    label->clear();
}

GameRound::GameRound(RoundHost& host, const RoundControls& controls) : m_host(host), m_c(controls)
{
    m_image1.label = m_c.rightPicture;
    m_image2.label = m_c.leftPicture;
    m_textModeImage.label = m_c.textModePicture;
    m_timer.setInterval(ClockIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &GameRound::tick);
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(StatusLineMs);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] {
        if (m_c.statusLine)
            m_c.statusLine->hide();
    });
    connect(&m_model, &RoundModel::targetChanged, this, [this](int cell) { m_c.grid->SetTargetIndex(cell); });
    connect(&m_model, &RoundModel::answered, this, &GameRound::answered);
    connect(&m_model, &RoundModel::errorCounted, this, [this](int errors) { m_host.SetErrorCount(errors); });
    connect(&m_model, &RoundModel::cellFound, this, [this](int, int found) { m_host.SetProgress(found); });
}

bool GameRound::timedRoundInProgress() const
{
    return m_model.state() != RoundModel::Finished && Mode::isTimed(m_host.CurrentMode());
}

QImage GameRound::symbolPicture(const CellItem& item)
{
    return item.Kind() == CellItem::KindLibraryPicture ? item.PictureV : item.PictureLarge;
}

void GameRound::showStatus(const QString& text)
{
    if (!m_c.statusLine)
        return;
    m_c.statusLine->setText(text);
    m_c.statusLine->show();
    m_c.statusLine->raise();
    m_statusTimer.start();
}

CellItem* GameRound::target() const
{
    return m_c.grid->Item(std::max(0, m_model.target()));
}

void GameRound::StartRound()
{
    const quint8 mode = m_host.CurrentMode();
    const bool textDisplay = m_c.grid->ShowTextOnly();
    m_c.title->setVisible(!textDisplay);
    m_c.textModePicture->setVisible(textDisplay);

    m_c.pages->setCurrentWidget(m_c.gamePage);
    m_c.pages->show();
    m_c.nextButton->hide();
    m_c.backButton->hide();
    m_c.pauseButton->show();
    m_c.mainMenuButton->resize(m_host.MainMenuWidth(), m_c.mainMenuButton->height());
    m_c.mainMenuButton->show();
    m_c.settingsButton->hide();

    m_host.closeHelp();
    hideStatus();
    m_c.grid->show();
    m_c.grid->Shuffle();
    // a screen reader may tell a cell's description in practice, never in a test
    m_c.grid->SetDescribeCells(Mode::isPractice(mode));
    // a keyboard user starts on the first cell
    m_c.grid->SetFocusCell(0);
    m_c.grid->setFocus();

    // the model holds the board's cells as shuffled and names the first target
    QList<BoardCell> cells;
    const int boardCells = std::min(m_c.grid->CellCount(), int(TMyDrawGrid::ItemCount));
    cells.reserve(boardCells);
    for (int i = 0; i < boardCells; ++i) {
        const CellItem* item = m_c.grid->Item(i);
        cells.append({item->Number, item->Text, symbolPicture(*item), item->Cleared()});
    }
    m_startTime = Now();
    m_model.start(Mode::activityOf(mode).value_or(Activity{}), cells, m_startTime);
    m_c.title->setText(m_model.targetText());
    m_image2.show(target()->PictureI, -1);
    m_textModeImage.show(target()->PictureV, -1);
    if (mode == Mode::DescriptionTest || mode == Mode::MapSymbolTest)
        m_textModeImage.show(target()->PictureLarge, -1);

    const int loadedCells = m_c.grid->CellCount() - m_c.grid->ClearedCount();
    const bool timed = Mode::isTimed(mode);
    m_c.errorsLabel->setVisible(timed);
    m_c.errorCount->setVisible(timed);
    m_c.clock->setVisible(timed);
    m_c.resultsButton->hide();
    m_c.gauge->setMaxValue(loadedCells);
    m_c.gauge->setVisible(timed);
    if (!timed) {
        m_c.pauseButton->hide();
        m_textModeImage.clear();
        // practice names no target: the heading waits for a cell to be pointed at
        m_c.title->setText(LoadString(StringId::PracticeHint));
    }
    m_host.SetProgress(0);
    if (timed)
        m_timer.start();
    else
        m_timer.stop();
    emit roundStarted();
}

void GameRound::hover(int x, int y)
{
    hoverCell(m_c.grid->CellIndexAt(x, y));
}

void GameRound::hoverCell(int i)
{
    if (i < 0 || i >= m_c.grid->CellCount())
        return;
    CellItem* item = m_c.grid->Item(i);
    if (item->Cleared()) {
        m_image1.clear();
        return;
    }
    const quint8 mode = m_host.CurrentMode();
    if (Mode::isPractice(mode)) {
        m_c.title->setText(item->Text);
        if (m_image2.cell != i)
            m_image2.show(mode == Mode::CombinationPractice ? item->PictureI.image() : item->PictureLarge, i);
    }
    if (mode == Mode::CombinationPractice || mode == Mode::CombinationTest || mode == Mode::MapSymbolTest ||
        mode == Mode::MapSymbolPractice) {
        if (m_image1.cell != i)
            m_image1.show(item->PictureN, i);
    }
}

void GameRound::press(int index)
{
    CellItem* item = m_c.grid->Item(index);
    if (item->Cleared() || index == m_host.helpShownIndex()) {
        m_host.closeHelp();
        return;
    }
    const quint8 mode = m_host.CurrentMode();
    if (Mode::isTimed(mode)) {
        judge(index, item);
        return;
    }
    if (Mode::isPractice(mode))
        m_host.showHelpFor(index);
}

void GameRound::judge(int index, CellItem* item)
{
    const RoundModel::Verdict verdict = m_model.press(index, Now());
    if (verdict == RoundModel::Verdict::Ignored)
        return;
    if (verdict == RoundModel::Verdict::Wrong) {
        Desktop::beep();
        m_c.grid->flashCell(index, TMyDrawGrid::Flash::Wrong);
        showStatus(LoadString(StringId::ThatWas).arg(item->Text));
        if (m_rules.showRightCellAfterMiss) {
            for (int i = 0; i < m_c.grid->CellCount(); ++i) {
                const CellItem* other = m_c.grid->Item(i);
                if (!other->Cleared() && other->Text == m_model.targetText())
                    m_c.grid->flashCell(i, TMyDrawGrid::Flash::Answer);
            }
        }
        return;
    }
    m_c.grid->flashCell(index, TMyDrawGrid::Flash::Right);
    item->SetCleared(true);
    if (m_model.state() == RoundModel::Finished) {
        endRound();
        return;
    }
    showTarget();
}

void GameRound::showTarget()
{
    m_c.title->setText(m_model.targetText());
    if (m_host.CurrentMode() == Mode::CombinationTest) {
        m_image2.show(target()->PictureI, -1);
        m_textModeImage.show(target()->PictureV, -1);
    } else {
        // the left picture keeps the first target's picture for the whole round
        m_textModeImage.show(target()->PictureLarge, -1);
    }
}

void GameRound::endRound()
{
    m_timer.stop();
    m_host.closeHelp();
    hideStatus();
    m_c.grid->hide();
    m_c.pausedLabel->hide();
    m_c.pauseButton->hide();
    m_host.SetProgress(0);
    m_image1.clear();
    m_image2.clear();
    m_textModeImage.clear();
    m_c.title->clear();
    emit roundEnded(true);
    emit finished(m_model.result(Now()));
}

double GameRound::ElapsedTime() const
{
    return m_model.elapsed(Now());
}

void GameRound::tick()
{
    if (m_model.state() != RoundModel::Finished)
        m_c.clock->setText(formatMinutesSeconds(ElapsedTime()));
}

void GameRound::pause()
{
    // While paused the target is hidden too, and the button offers to resume.
    if (m_model.state() == RoundModel::Running && !m_c.grid->isHidden()) {
        m_model.pause(Now());
        m_c.grid->hide();
        m_c.pausedLabel->show();
        m_hiddenByPause.clear();
        for (QWidget* w : std::initializer_list<QWidget*>{m_c.title, m_c.textModePicture, m_c.leftPicture}) {
            if (!w->isHidden()) {
                m_hiddenByPause.append(w);
                w->hide();
            }
        }
        if (m_c.statusLine)
            m_c.statusLine->hide();
        m_pauseCaption = m_c.pauseButton->property("Caption").toString();
        m_c.pauseButton->setProperty("Caption", LoadString(StringId::ResumeCaption));
    } else if (m_model.state() == RoundModel::Paused) {
        m_c.pausedLabel->hide();
        m_c.grid->show();
        undoPauseLook();
        m_model.resume(Now());
    }
}

void GameRound::holdForMessage(bool shown)
{
    if (shown) {
        if (m_messagesOpen++ == 0 && m_model.state() == RoundModel::Running && m_model.activity().timed) {
            m_model.pause(Now());
            m_heldByMessage = true;
        }
        return;
    }
    if (m_messagesOpen == 0 || --m_messagesOpen > 0)
        return;
    if (m_heldByMessage && m_model.state() == RoundModel::Paused)
        m_model.resume(Now());
    m_heldByMessage = false;
}

void GameRound::hideStatus()
{
    m_statusTimer.stop();
    if (m_c.statusLine)
        m_c.statusLine->hide();
}

void GameRound::undoPauseLook()
{
    if (!m_pauseCaption.isEmpty()) {
        m_c.pauseButton->setProperty("Caption", m_pauseCaption);
        m_pauseCaption.clear();
    }
    for (QWidget* w : std::as_const(m_hiddenByPause))
        w->show();
    m_hiddenByPause.clear();
}

void GameRound::stopForMainMenu()
{
    m_timer.stop();
    // the time played up to now is the round's, as far as it went
    m_model.abandon(Now());
    emit roundEnded(false);
    m_host.closeHelp();
    hideStatus();
    undoPauseLook();
    m_c.pausedLabel->hide();
    m_image1.clear();
    m_image2.clear();
    m_textModeImage.clear();
}
