// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/WinnerDialog.h"

#include "content/Language.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsTable.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "results/NameSlot.h"
#include "results/ResultsFile.h"
#include "screens/ScreenLoader.h"
#include "session/Session.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <utility>

namespace {
// Client heights: the name strip alone, and the strip with the table and the close button.
constexpr int NameStripHeight = 93;
constexpr int FullHeight = 423;
constexpr int InitialRows = 10;
// Below the strip (or the table): the accuracy line and the list of missed symbols.
constexpr int SummaryHeight = 150;
constexpr int SummaryMargin = 8;
constexpr int AccuracyHeight = 18;
constexpr QSize MissedIconSize(90, 38);
const QList<int> ColumnWidths = {24, 316, 62, 65};
} // namespace

WinnerDialog::WinnerDialog(Session& session) : QDialog(nullptr), m_session(session)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    ScreenLoader::load(this, QStringLiteral("TWinDlg"));
    moveToScreenCentre(this);
    m_time = bindControl<QLabel>(this, QStringLiteral("TimeLabel"));
    m_errors = bindControl<QLabel>(this, QStringLiteral("ErrorsLabel"));
    m_name = bindControl<QLineEdit>(this, QStringLiteral("NameEdit"));
    m_confirm = bindControl<QPushButton>(this, QStringLiteral("ConfirmButton"));
    m_close = bindControl<QPushButton>(this, QStringLiteral("CloseButton"));
    m_table = bindControl<ResultsGrid>(this, QStringLiteral("ResultsGrid"));
    m_prompt = bindControl<QLabel>(this, QStringLiteral("NamePrompt"));
    m_promptText = m_prompt->text();
    bindSummary();
    setUpResultsTable(m_table, ColumnWidths, InitialRows);
    connect(m_confirm, &QPushButton::clicked, this, &WinnerDialog::confirm);
    connect(m_close, &QPushButton::clicked, this, &WinnerDialog::finish);
}

QString WinnerDialog::playerName() const
{
    return m_name->text();
}

bool WinnerDialog::showsTable() const
{
    return height() == FullHeight + SummaryHeight;
}

void WinnerDialog::bindSummary()
{
    // The summary's controls are made here: screens of language modules need not know them.
    m_accuracy = new QLabel(this);
    m_accuracy->setObjectName(QStringLiteral("AccuracyLabel"));
    m_missed = new QListWidget(this);
    m_missed->setObjectName(QStringLiteral("MissedList"));
    m_missed->setIconSize(MissedIconSize);
    m_missed->setSelectionMode(QAbstractItemView::NoSelection);
    m_missed->setFocusPolicy(Qt::NoFocus);
}

void WinnerDialog::showSummary(const RoundSummary& summary, int top)
{
    const int width = m_table->width();
    m_accuracy->setGeometry(SummaryMargin, top, width, AccuracyHeight);
    m_accuracy->setText(LoadString(StringId::AccuracyLabel)
                            .arg(summary.found)
                            .arg(summary.presses)
                            .arg(summary.accuracyPercent()));
    m_missed->setGeometry(SummaryMargin, top + AccuracyHeight + 2, width,
                          SummaryHeight - AccuracyHeight - 2 - SummaryMargin);
    m_missed->clear();
    // each kind of symbols in its own words: "Lines you missed:" after a test of whole lines
    const auto [heading, nothing] = [&summary]() -> std::pair<int, int> {
        switch (summary.kind) {
        case SymbolKind::MapSymbol:
            return {StringId::MissedMapHeading, StringId::NothingMapMissed};
        case SymbolKind::Line:
            return {StringId::MissedLineHeading, StringId::NothingLineMissed};
        default:
            return {StringId::MissedHeading, StringId::NothingMissed};
        }
    }();
    if (summary.missed.isEmpty()) {
        m_missed->addItem(LoadString(nothing));
    } else {
        m_missed->addItem(LoadString(heading));
        for (const MissedSymbol& missed : summary.missed) {
            const QString line = missed.unanswered
                                     ? LoadString(StringId::MissedUnansweredLine).arg(missed.name)
                                     : LoadString(StringId::MissedLine).arg(missed.name, missed.pressedName);
            auto* item = new QListWidgetItem(line);
            if (!missed.picture.isNull()) {
                // scaled for the screen's pixels, so that the icon is sharp at 200 %
                const qreal ratio = devicePixelRatioF();
                QPixmap icon = QPixmap::fromImage(missed.picture.scaled(
                    MissedIconSize * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
                icon.setDevicePixelRatio(ratio);
                item->setIcon(icon);
            }
            m_missed->addItem(item);
        }
    }
    m_accuracy->show();
    m_missed->show();
}

void WinnerDialog::showEvent(QShowEvent* event)
{
    if (m_unrecorded) {
        m_unrecorded = false;
        QDialog::showEvent(event);
        return;
    }
    enterName();
    QDialog::showEvent(event);
}

void WinnerDialog::presentUnrecorded(const FinishedRound& round)
{
    m_round = round;
    m_time->setText(LoadString(StringId::TimeHeading) + formatMinutesSeconds(round.time));
    m_errors->setText(LoadString(StringId::ErrorsHeading) + QString::number(round.errors));
    m_prompt->setText(LoadString(StringId::ResultNotRecorded));
    m_prompt->setWordWrap(true);
    m_prompt->resize(m_prompt->width(), m_name->geometry().bottom() - m_prompt->y());
    m_name->hide();
    m_confirm->hide();
    m_close->setDefault(true);
    setFixedSize(width(), FullHeight + SummaryHeight);
    keepOnScreen(this);
    m_table->show();
    showSummary(round.summary, FullHeight);
    // the test's stored results, for comparison; a round that records nothing creates no file
    if (QFileInfo::exists(resultsFileName()))
        ShowTestResults(round.test.number, m_table, TResultRecord());
    else
        blankResultRows(m_table);
    m_unrecorded = true;
    exec();
    // the strip is as it was for the next recorded round
    m_prompt->setText(m_promptText);
    m_prompt->setWordWrap(false);
    m_name->show();
}

void WinnerDialog::present(const FinishedRound& round)
{
    m_round = round;
    exec();
}

void WinnerDialog::enterName()
{
    const FinishedRound& round = m_round;
    setFixedSize(width(), NameStripHeight + SummaryHeight);
    keepOnScreen(this);
    // the ranking lies below the name strip; the summary takes its place until the name is given
    m_table->hide();
    showSummary(round.summary, NameStripHeight);
    m_confirm->show();
    m_confirm->setDefault(true);
    m_close->setDefault(false);
    m_name->setReadOnly(false);
    m_name->setFocus();
    m_time->setText(LoadString(StringId::TimeHeading) + formatMinutesSeconds(round.time));
    m_errors->setText(LoadString(StringId::ErrorsHeading) + QString::number(round.errors));
}

void WinnerDialog::confirm()
{
    if (m_name->text().trimmed().isEmpty()) {
        // a result needs a name to be found again in the ranking
        MessageBoxes::showPlain(LoadString(StringId::EmptyNameRefused));
        m_name->setFocus();
        return;
    }
    if (!NameSlot::fits(m_name->text())) {
        // a name is kept exactly or not at all: say which letters take the room
        const QStringList letters = NameSlot::charactersBeyondLatin1(m_name->text());
        MessageBoxes::showPlain(LoadString(StringId::NameDoesNotFit).arg(letters.join(QLatin1String(", "))));
        m_name->setFocus();
        return;
    }
    m_name->setReadOnly(true);
    m_confirm->setDefault(false);
    m_confirm->hide();
    m_close->setDefault(true);
    setFixedSize(width(), FullHeight + SummaryHeight);
    keepOnScreen(this);
    m_table->show();
    const FinishedRound& round = m_round;
    showSummary(round.summary, FullHeight);
    m_session.setPlayerName(m_name->text());
    TResultRecord record;
    record.PlayerName = NameSlot::cut(m_name->text());
    record.TestName = round.test.name.left(TResultRecord::MaxNameLength);
    record.TestNumber = round.test.number;
    record.Time = round.time;
    record.Errors = round.errors;
    try {
        AppendResult(record);
    } catch (const AppError& error) {
        // the result could not be saved: say so, and show what is really stored
        MessageBoxes::showError(error);
    }
    ShowTestResults(record.TestNumber, m_table, record);
}

void WinnerDialog::finish()
{
    m_session.returnToMainMenu();
    accept();
}

void WinnerDialog::reject()
{
    const bool askingName = !m_confirm->isHidden();
    if (askingName && !MessageBoxes::confirm(LoadString(StringId::LeaveRoundQuestion))) {
        m_name->setFocus();
        return;
    }
    m_session.returnToMainMenu();
    QDialog::reject();
}
