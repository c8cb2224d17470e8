#include "dialogs/WinnerDialog.h"

#include "content/Language.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsTable.h"
#include "dialogs/TStartDlg.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "results/ResultsFile.h"
#include "screens/MainWindow.h"
#include "screens/ScreenLoader.h"
#include "screens/Screens.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// Client heights: the name strip alone, and the strip with the table and the close button.
constexpr int NameStripHeight = 93;
constexpr int FullHeight = 423;
constexpr int InitialRows = 10;
const QList<int> ColumnWidths = {24, 316, 62, 65};
} // namespace

WinnerDialog::WinnerDialog(Screens& screens) : QDialog(nullptr), m_screens(screens)
{
    m_screens.winnerDialog = this;
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    ScreenLoader::load(this, QStringLiteral("TWinDlg"));
    moveToScreenCentre(this);
    m_time = bindControl<QLabel>(this, QStringLiteral("TimeLabel"));
    m_errors = bindControl<QLabel>(this, QStringLiteral("ErrorsLabel"));
    m_name = bindControl<QLineEdit>(this, QStringLiteral("NameEdit"));
    m_confirm = bindControl<QPushButton>(this, QStringLiteral("ConfirmButton"));
    m_close = bindControl<QPushButton>(this, QStringLiteral("CloseButton"));
    m_table = bindControl<ResultsGrid>(this, QStringLiteral("ResultsGrid"));
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
    return height() == FullHeight;
}

void WinnerDialog::showEvent(QShowEvent* event)
{
    enterName();
    QDialog::showEvent(event);
}

void WinnerDialog::enterName()
{
    setFixedSize(width(), NameStripHeight);
    m_confirm->show();
    m_confirm->setDefault(true);
    m_close->setDefault(false);
    m_name->setReadOnly(false);
    m_name->setFocus();
    const RoundResult round = m_screens.mainWindow->roundResult();
    m_time->setText(LoadString(StringId::TimeHeading) + formatMinutesSeconds(round.time));
    m_errors->setText(LoadString(StringId::ErrorsHeading) + QString::number(round.errors));
}

void WinnerDialog::confirm()
{
    m_name->setReadOnly(true);
    m_confirm->setDefault(false);
    m_confirm->hide();
    m_close->setDefault(true);
    setFixedSize(width(), FullHeight);
    const RoundResult round = m_screens.mainWindow->roundResult();
    TResultRecord record;
    record.PlayerName = m_name->text().left(TResultRecord::MaxNameLength);
    record.TestName = m_screens.startDlg->CurrentTestName().left(TResultRecord::MaxNameLength);
    record.TestNumber = m_screens.startDlg->CurrentTestNumber();
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
    m_screens.mainWindow->returnToMainMenu();
    accept();
}
