// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TStartDlg.h"

#include "content/Catalogue.h"
#include "content/ContentFiles.h"
#include "content/Language.h"
#include "dialogs/Printing.h"
#include "domain/TestNumbers.h"
#include "game/CellItem.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/TMyDrawGrid.h"
#include "game/WeakSymbolDrill.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "print/Printouts.h"
#include "screens/MainWindow.h"
#include "screens/ScreenLoader.h"
#include "screens/Screens.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>

namespace {

// Above the list of tests, which starts 32 pixels down.
constexpr QRect InstructionGeometry(8, 8, 465, 20);
// In the column of the buttons, level with the foot of the list: space no control of the screen takes.
constexpr QRect PrintButtonGeometry(488, 288, 75, 25);

constexpr char PictureLibraryFile[] = "Bitm1.dll";

struct BoardShape
{
    int colWidth;
    int rowHeight;
    int cols;
    int rows;
};

BoardShape shapeFor(quint8 mode)
{
    if (mode == Mode::MapSymbolTest || mode == Mode::MapSymbolPractice)
        return {113, 113, 5, 3};
    return {190, 80, 3, 5};
}

} // namespace

TStartDlg::TStartDlg(Screens& screens) : QDialog(nullptr), m_screens(screens)
{
    m_screens.startDlg = this;
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
    const SymbolKind kind = Mode::kindOf(m_screens.mainWindow->CurrentMode());
    Printing::print(this, [test, kind] { return Printouts::testQuiz(test, kind); });
}

void TStartDlg::printHandout()
{
    const SymbolKind kind = Mode::kindOf(m_screens.mainWindow->CurrentMode());
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
    switch (mode) {
    case Mode::DescriptionPractice:
    case Mode::DescriptionTest:
        return ContentFileName(ContentFiles::DescriptionCatalogue);
    case Mode::CombinationPractice:
    case Mode::CombinationTest:
        return ContentFileName(ContentFiles::CombinationCatalogue);
    case Mode::MapSymbolTest:
    case Mode::MapSymbolPractice:
        return ContentFileName(ContentFiles::MapSymbolCatalogue);
    default:
        return {};
    }
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
        ReadCatalogue(catalogueFor(m_screens.mainWindow->CurrentMode()));
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
        return;
    }
    for (const TTypesItem& entry : std::as_const(Catalogue().Entries))
        m_list->addItem(entry.TestName);
    // the drill comes after the catalogue's own tests, which keep their places
    m_list->addItem(weakSymbolsName());
    // the test played last of this kind, else the index chosen last of any kind
    const int offered =
        m_lastOfCatalogue.value(catalogueFor(m_screens.mainWindow->CurrentMode()), m_selectedIndex);
    m_list->setCurrentRow(offered < m_list->count() ? offered : 0);
    m_list->setFocus();
}

void TStartDlg::layOutGrid(const TTypesItem& entry)
{
    const quint8 mode = m_screens.mainWindow->CurrentMode();
    TMyDrawGrid* grid = m_screens.mainWindow->grid();
    const BoardShape shape = shapeFor(mode);
    grid->SetDefaultColWidth(shape.colWidth);
    grid->SetDefaultRowHeight(shape.rowHeight);
    grid->SetColCount(shape.cols);
    grid->SetRowCount(shape.rows);
    for (int r = 0; r < grid->CellCount(); ++r) {
        quint8 kind = CellItem::KindLibraryPicture;
        if (mode == Mode::MapSymbolTest || mode == Mode::MapSymbolPractice)
            kind = CellItem::KindMapSymbol;
        else if ((mode == Mode::DescriptionPractice || mode == Mode::DescriptionTest) &&
                 r < entry.Values.size() && entry.Values[r] < CellItem::FirstLibraryNumber)
            kind = CellItem::KindFontSymbol;
        grid->Item(r)->SetKind(kind);
    }
}

QString TStartDlg::weakSymbolsName()
{
    return QLatin1Char(' ') + LoadString(StringId::WeakSymbolsTest);
}

bool TStartDlg::playWeakSymbols()
{
    const quint8 mode = m_screens.mainWindow->CurrentMode();
    const SymbolKind kind = Mode::kindOf(mode);
    WeakSymbolDrill::Board board;
    AnswerStore* store = m_screens.answers;
    if (store && store->ensureOpen()) {
        try {
            board = WeakSymbolDrill::buildBoard(*store, kind, dateOfDays(Now()));
        } catch (const AppError& error) {
            store->disable(error);
        }
    }
    if (board.status == WeakSymbolDrill::Board::NoHistory) {
        MessageBoxes::showPlain(LoadString(StringId::DrillWithoutHistory));
        m_screens.mainWindow->setCurrentMode(Mode::screenOf({SymbolKind::Description, Mode::isTimed(mode)}));
        m_selectedIndex = 0;
        if (isVisible())
            activate();
        return false;
    }
    if (board.status == WeakSymbolDrill::Board::NothingDue) {
        MessageBoxes::showPlain(LoadString(StringId::DrillNothingDue)
                                    .arg(QLocale().toString(board.nextDue, QLocale::LongFormat)));
        return false;
    }
    TTypesItem entry;
    entry.TestName = weakSymbolsName();
    entry.TestNumber = TestNumbers::drill(kind);
    entry.Values = board.values;
    return startEntry(entry);
}

bool TStartDlg::startEntry(const TTypesItem& entry)
{
    layOutGrid(entry);
    try {
        m_screens.mainWindow->grid()->LoadBoard(entry, LanguageCode(),
                                                QString::fromLatin1(PictureLibraryFile), QStringLiteral("V"),
                                                QStringLiteral("I"), QStringLiteral("N"), QStringLiteral("B"),
                                                QStringLiteral("Legends"), QStringLiteral("Symbols"));
        m_currentTestName = entry.TestName;
        m_currentTestNumber = entry.TestNumber;
        m_lastStarted = entry.TestNumber;
        m_screens.mainWindow->startRound();
    } catch (const AppError& error) {
        // A test that cannot be played is not started (and so never gives a result).
        m_screens.mainWindow->grid()->ClearBoard();
        MessageBoxes::showError(error);
        reject();
        return false;
    }
    QDialog::accept();
    return true;
}

void TStartDlg::accept()
{
    const int row = m_list->currentRow();
    if (row >= 0 && row == Catalogue().Count() && m_list->count() > row) {
        m_selectedIndex = row;
        m_lastOfCatalogue.insert(catalogueFor(m_screens.mainWindow->CurrentMode()), row);
        playWeakSymbols();
        return;
    }
    if (row < 0 || row >= Catalogue().Count()) {
        // nothing to play: back to the main menu as with Cancel
        reject();
        return;
    }
    m_selectedIndex = row;
    m_lastOfCatalogue.insert(catalogueFor(m_screens.mainWindow->CurrentMode()), row);
    startEntry(Catalogue().Entries[row]);
}

void TStartDlg::reject()
{
    m_currentTestNumber = 0;
    QDialog::reject();
    m_screens.mainWindow->returnToMainMenu();
}
