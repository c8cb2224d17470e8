// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TStartDlg.h"

#include "content/Catalogue.h"
#include "content/ContentFiles.h"
#include "content/Language.h"
#include "dialogs/Printing.h"
#include "game/Modes.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "print/Printouts.h"
#include "screens/ScreenLoader.h"
#include "session/Session.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

namespace {

// Above the list of tests, which starts 32 pixels down.
constexpr QRect InstructionGeometry(8, 8, 465, 20);
// In the column of the buttons, level with the foot of the list: space no control of the screen takes.
constexpr QRect PrintButtonGeometry(488, 288, 75, 25);

} // namespace

TStartDlg::TStartDlg(Session& session) : QDialog(nullptr), m_session(session)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint);
    ScreenLoader::load(this, QStringLiteral("TStartDlg"));
    moveToScreenCentre(this);
    setFixedSize(size());
    m_list = bindControl<QListWidget>(this, QStringLiteral("ListBox1"));
    auto* ok = bindControl<QPushButton>(this, QStringLiteral("Button1"));
    auto* cancel = bindControl<QPushButton>(this, QStringLiteral("Button2"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TStartDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &TStartDlg::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TStartDlg::accept);
    // one line that says what to do, above the list (made here: module screens need not have it)
    m_instruction = new QLabel(LoadString(StringId::ChooseTestHint), this);
    m_instruction->setObjectName(QStringLiteral("Instruction"));
    m_instruction->setGeometry(InstructionGeometry);
    createPrintButton();
}

void TStartDlg::createPrintButton()
{
    // made here, like the instruction: module screens need not have it
    m_printButton = new QPushButton(LoadString(StringId::PrintButton), this);
    m_printButton->setObjectName(QStringLiteral("PrintButton"));
    m_printButton->setGeometry(PrintButtonGeometry);
    m_printButton->setAutoDefault(false);
    m_printMenu = new QMenu(m_printButton);
    m_printQuizAction =
        m_printMenu->addAction(LoadString(StringId::PrintQuizAction), this, &TStartDlg::printQuiz);
    m_printMenu->addAction(LoadString(StringId::PrintHandoutAction), this, &TStartDlg::printHandout);
    m_printMenu->addAction(LoadString(StringId::PrintSheetAction), this, &TStartDlg::printSheet);
    // the quiz is of a test of the catalogue; the drill's board is the learner's own
    connect(m_printMenu, &QMenu::aboutToShow, this, [this] {
        const int row = m_list->currentRow();
        m_printQuizAction->setEnabled(row >= 0 && row < Catalogue().Count());
    });
    m_printButton->setMenu(m_printMenu);
}

void TStartDlg::printQuiz()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= Catalogue().Count())
        return;
    const TTypesItem test = Catalogue().Entries[row];
    const SymbolKind kind = m_session.kind();
    Printing::print(this, [test, kind] { return Printouts::testQuiz(test, kind); });
}

void TStartDlg::printHandout()
{
    const SymbolKind kind = m_session.kind();
    Printing::print(this, [kind] { return Printouts::handout(kind); });
}

void TStartDlg::printSheet()
{
    const QString path =
        QFileDialog::getOpenFileName(this, LoadString(StringId::ChooseSheetTitle), QDir::homePath(),
                                     LoadString(StringId::SheetFileFilter));
    if (!path.isEmpty())
        Printing::print(this, [path] { return Printouts::sheet(path); });
}

QString TStartDlg::catalogueFor(quint8 mode)
{
    return Mode::showsTestSelection(mode) ? Session::catalogueFor(Mode::kindOf(mode)) : QString();
}

QString TStartDlg::CurrentTestName() const
{
    return m_session.currentTest().name;
}

qint32 TStartDlg::CurrentTestNumber() const
{
    return m_session.currentTest().number;
}

void TStartDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    activate();
}

void TStartDlg::activate()
{
    m_list->clear();
    try {
        ReadCatalogue(catalogueFor(m_session.mode()));
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return;
    }
    for (const TTypesItem& entry : std::as_const(Catalogue().Entries))
        m_list->addItem(entry.TestName);
    // the drill comes after the catalogue's own tests, which keep their places
    m_list->addItem(Session::weakSymbolsName());
    // the test played last of this kind, else the index chosen last of any kind
    const int offered = m_lastOfCatalogue.value(catalogueFor(m_session.mode()), m_selectedIndex);
    m_list->setCurrentRow(offered < m_list->count() ? offered : 0);
    m_list->setFocus();
}

void TStartDlg::playWeakSymbols()
{
    switch (m_session.playWeakSymbols()) {
    case Session::DrillStart::Started:
        QDialog::accept();
        break;
    case Session::DrillStart::NoHistory:
        // the first description test is offered instead
        offerFirstTest();
        activate();
        break;
    case Session::DrillStart::NothingDue:
        break;
    case Session::DrillStart::NotPlayable:
        reject();
        break;
    }
}

void TStartDlg::startEntry(const TTypesItem& entry)
{
    if (m_session.play(entry))
        QDialog::accept();
    else
        reject();
}

void TStartDlg::accept()
{
    const int row = m_list->currentRow();
    if (row >= 0 && row == Catalogue().Count() && m_list->count() > row) {
        m_selectedIndex = row;
        m_lastOfCatalogue.insert(catalogueFor(m_session.mode()), row);
        playWeakSymbols();
        return;
    }
    if (row < 0 || row >= Catalogue().Count()) {
        // nothing to play: back to the main menu as with Cancel
        reject();
        return;
    }
    m_selectedIndex = row;
    m_lastOfCatalogue.insert(catalogueFor(m_session.mode()), row);
    startEntry(Catalogue().Entries[row]);
}

void TStartDlg::reject()
{
    m_session.clearCurrentTest();
    QDialog::reject();
    m_session.returnToMainMenu();
}
