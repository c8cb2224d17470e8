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
#include <cmath>

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
}

bool GameRound::timedRoundInProgress() const
{
    return m_state != Finished && Mode::isTimed(m_host.CurrentMode());
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

void GameRound::noteMiss(const CellItem* pressed)
{
    const CellItem* wanted = target();
    for (MissedSymbol& missed : m_summary.missed) {
        if (missed.name == wanted->Text) {
            ++missed.wrongPresses;
            missed.pressedName = pressed->Text;
            return;
        }
    }
    m_summary.missed.append({wanted->Text, symbolPicture(*wanted), pressed->Text, 1});
}

CellItem* GameRound::target() const
{
    return m_c.grid->Item(m_c.grid->TargetIndex());
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

    m_host.SetErrorCount(0);
    m_host.closeHelp();
    m_summary = {};
    m_summary.kind = Mode::kindOf(mode);
    hideStatus();
    m_c.grid->show();
    m_c.grid->Shuffle();
    // a screen reader may tell a cell's description in practice, never in a test
    m_c.grid->SetDescribeCells(Mode::isPractice(mode));
    // a keyboard user starts on the first cell
    m_c.grid->SetFocusCell(0);
    m_c.grid->setFocus();

    m_c.title->setText(m_c.grid->NextTarget());
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
    m_state = Running;
    m_startTime = Now();
    m_elapsed = 0;
    m_runningSince = m_startTime;
    m_targetShownAt = m_startTime;
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
    ++m_summary.presses;
    // The grid set HoverText to the pressed cell's text during this press; any cell with the
    // target's text is right.
    const bool right = m_c.grid->HoverText() == m_c.title->text();
    const double now = Now();
    emit answered(target()->Number, item->Number, right, std::llround((now - m_targetShownAt) * MsPerDay));
    if (!right) {
        m_host.SetErrorCount(m_host.ErrorCount() + 1);
        Desktop::beep();
        noteMiss(item);
        m_c.grid->flashCell(index, TMyDrawGrid::Flash::Wrong);
        showStatus(LoadString(StringId::ThatWas).arg(item->Text));
        if (m_host.showRightCellAfterMiss()) {
            for (int i = 0; i < m_c.grid->CellCount(); ++i) {
                const CellItem* other = m_c.grid->Item(i);
                if (!other->Cleared() && other->Text == m_c.title->text())
                    m_c.grid->flashCell(i, TMyDrawGrid::Flash::Answer);
            }
        }
        return;
    }
    ++m_summary.found;
    m_c.grid->flashCell(index, TMyDrawGrid::Flash::Right);
    item->SetCleared(true);
    m_host.SetProgress(m_host.Progress() + 1);
    m_c.title->setText(m_c.grid->NextTarget());
    m_targetShownAt = now;
    if (m_c.title->text().isEmpty()) {
        stopClock(now);
        endRound();
        return;
    }
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
    m_state = Finished;
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
    if (m_host.textHelpChecked()) {
        m_host.showUnrecordedSummary();
        m_host.returnToMainMenu();
        return;
    }
    m_host.showWinnerDialog();
}

double GameRound::ElapsedTime() const
{
    const double played = m_state == Running ? m_elapsed + (Now() - m_runningSince) : m_elapsed;
    // the clock counts whole milliseconds: differences of its values are rounded back to them
    return std::llround(played * MsPerDay) / MsPerDay;
}

void GameRound::stopClock(double now)
{
    if (m_state == Running)
        m_elapsed += now - m_runningSince;
}

void GameRound::tick()
{
    if (m_state == Running || m_state == Paused)
        m_c.clock->setText(formatMinutesSeconds(ElapsedTime()));
}

void GameRound::pause()
{
    // While paused the target is hidden too, and the button offers to resume.
    if (m_state == Running && !m_c.grid->isHidden()) {
        m_pausedAt = Now();
        stopClock(m_pausedAt);
        m_state = Paused;
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
    } else if (m_state == Paused) {
        m_c.pausedLabel->hide();
        m_c.grid->show();
        undoPauseLook();
        const double now = Now();
        m_state = Running;
        m_runningSince = now;
        m_targetShownAt += now - m_pausedAt;
    }
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
    stopClock(Now());
    m_state = Finished;
    emit roundEnded(false);
    m_host.closeHelp();
    hideStatus();
    undoPauseLook();
    m_c.pausedLabel->hide();
    m_image1.clear();
    m_image2.clear();
    m_textModeImage.clear();
}
