// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TForm1.h"

#include "app/QuillApplication.h"

#include "app/Screens.h"
#include "content/ContentCheck.h"
#include "content/ContentFiles.h"
#include "content/Language.h"
#include "content/NumberedText.h"
#include "dialogs/ProgressViewer.h"
#include "dialogs/QuickQuizDialog.h"
#include "dialogs/ResultsViewer.h"
#include "dialogs/THelpForm.h"
#include "dialogs/TSettingsDlg.h"
#include "dialogs/TStartDlg.h"
#include "dialogs/WinnerDialog.h"
#include "game/CellItem.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/TMyDrawGrid.h"
#include "learning/LegendPage.h"
#include "platform/AppError.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/FontRegistry.h"
#include "platform/GuardedSlot.h"
#include "platform/MessageBoxes.h"
#include "screens/ScreenLoader.h"
#include "widgets/TCommandButton.h"
#include "widgets/TGauge.h"
#include "widgets/TLinkLabel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QToolButton>

namespace {

constexpr char SymbolFontFile[] = "Pictor07.TTF";
// Under the board, in the game page's strip below its last row.
constexpr QRect StatusLineGeometry(0, 420, 605, 18);
// A message about the symbol font lists this many of its missing symbols.
constexpr qsizetype MaxListedGlyphs = 8;
const QColor LearningColour(0, 0, 255);
const QColor TestingColour(0, 128, 0);
const QColor BorderColour(255, 255, 255);
constexpr char CreditText[] = "Quillon 2 - our own trainer for control descriptions: about";

QColor buttonTextColour(const QWidget* w)
{
    return w->palette().color(QPalette::Active, QPalette::ButtonText);
}

} // namespace

TForm1::TForm1(Screens& screens) : m_screens(screens)
{
    m_screens.mainWindow = this;
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    ScreenLoader::load(this, QStringLiteral("TForm1"));
    setFixedSize(size());
    bindControls();

    RoundControls rc;
    rc.title = m_title;
    rc.leftPicture = m_image2;
    rc.textModePicture = m_imageTextMode;
    rc.rightPicture = m_image1;
    rc.clock = m_clockLabel;
    rc.errorsLabel = m_errorsLabel;
    rc.errorCount = m_errorCountLabel;
    rc.pausedLabel = m_pausedLabel;
    rc.gauge = m_gauge;
    rc.pauseButton = m_pauseButton;
    rc.nextButton = m_nextButton;
    rc.backButton = m_backButton;
    rc.mainMenuButton = m_mainMenuButton;
    rc.settingsButton = m_settingsButton;
    rc.resultsButton = m_resultsButton;
    rc.pages = m_pages;
    rc.gamePage = m_gamePage;
    rc.grid = m_grid;
    rc.statusLine = m_statusLine;
    m_round = std::make_unique<GameRound>(*this, rc);

    connectControls();
    setUpKeyboard();
    creationSequence();
    nameControls();
}

TForm1::~TForm1() = default;

void TForm1::bindControls()
{
    m_title = bindControl<QLabel>(this, QStringLiteral("Label1"));
    m_image1 = bindControl<QLabel>(this, QStringLiteral("Image1"));
    m_image2 = bindControl<QLabel>(this, QStringLiteral("Image2"));
    m_imageTextMode = bindControl<QLabel>(this, QStringLiteral("ImageTextMode1"));
    m_clockLabel = bindControl<QLabel>(this, QStringLiteral("Label3"));
    m_errorsLabel = bindControl<QLabel>(this, QStringLiteral("Label2"));
    m_errorCountLabel = bindControl<QLabel>(this, QStringLiteral("Label4"));
    m_pausedLabel = bindControl<QLabel>(this, QStringLiteral("Label6"));
    m_gauge = bindControl<TGauge>(this, QStringLiteral("Gauge1"));
    m_settingsButton = bindControl<TCommandButton>(this, QStringLiteral("SettingsButton"));
    m_resultsButton = bindControl<TCommandButton>(this, QStringLiteral("ResultsButton"));
    m_nextButton = bindControl<TCommandButton>(this, QStringLiteral("NextButton"));
    m_backButton = bindControl<TCommandButton>(this, QStringLiteral("BackButton"));
    m_pauseButton = bindControl<TCommandButton>(this, QStringLiteral("PauseButton"));
    m_mainMenuButton = bindControl<TCommandButton>(this, QStringLiteral("MainMenuButton"));
    m_exitButton = bindControl<TCommandButton>(this, QStringLiteral("ExitButton"));
    m_progressButton = bindControl<TCommandButton>(this, QStringLiteral("ProgressButton"));
    m_quickQuizButton = bindControl<TCommandButton>(this, QStringLiteral("QuickQuizButton"));
    m_learningButton = bindControl<QToolButton>(this, QStringLiteral("SpeedButton1"));
    m_testingButton = bindControl<QToolButton>(this, QStringLiteral("SpeedButton2"));
    // the four topics in their order on the menu
    for (const char* name : {"SpeedButton6", "SpeedButton4", "SpeedButton3", "SpeedButton5"})
        m_topicButtons << bindControl<QToolButton>(this, QString::fromLatin1(name));
    m_linkLabel = bindControl<TLinkLabel>(this, QStringLiteral("LinkLabel1"));
    m_pages = bindControl<QStackedWidget>(this, QStringLiteral("PageControl1"));
    m_learnPage = bindControl<QWidget>(this, QStringLiteral("TabSheet1"));
    m_gamePage = bindControl<QWidget>(this, QStringLiteral("TabSheet2"));
    bindStatusLine();
    for (const char* name : {"Panel1", "Panel4", "Panel2", "Panel3"})
        m_borderPanels << bindControl<QWidget>(this, QString::fromLatin1(name));
    m_grid = bindControl<TMyDrawGrid>(this, QStringLiteral("MyDrawGrid1"));
    m_gauge->setLoading(false);
}

void TForm1::connectControls()
{
    connect(m_learningButton, &QToolButton::clicked, this, &TForm1::pressLearning);
    connect(m_testingButton, &QToolButton::clicked, this, &TForm1::pressTesting);
    const quint8 learning[] = {Mode::LegendWalkthrough, Mode::DescriptionPractice, Mode::CombinationPractice,
                               Mode::MapSymbolPractice};
    const quint8 testing[] = {Mode::LegendQuiz, Mode::DescriptionTest, Mode::CombinationTest,
                              Mode::MapSymbolTest};
    for (int i = 0; i < m_topicButtons.size(); ++i) {
        QToolButton* button = m_topicButtons[i];
        const quint8 l = learning[i];
        const quint8 t = testing[i];
        connect(button, &QToolButton::clicked, this,
                guarded([this, button, l, t] { topicClicked(button, l, t); }));
    }
    connect(m_mainMenuButton, &TCommandButton::clicked, this, guarded([this] {
                if (mayLeaveRound())
                    returnToMainMenu();
            }));
    connect(m_resultsButton, &TCommandButton::clicked, this,
            guarded([this] { m_screens.resultsViewer->exec(); }));
    connect(m_settingsButton, &TCommandButton::clicked, this,
            guarded([this] { m_screens.settingsDlg->exec(); }));
    connect(m_progressButton, &TCommandButton::clicked, this,
            guarded([this] { m_screens.progressViewer->exec(); }));
    connect(m_quickQuizButton, &TCommandButton::clicked, this,
            guarded([this] { m_screens.quickQuiz->exec(); }));
    connect(m_exitButton, &TCommandButton::clicked, this, [this] {
        // the close asks first during a timed test, and may be refused
        if (close())
            QCoreApplication::quit();
    });
    connect(m_pauseButton, &TCommandButton::clicked, m_round.get(), &GameRound::pause);
    connect(m_grid, &TMyDrawGrid::GridMouseMove, m_round.get(),
            [this](Qt::KeyboardModifiers, int x, int y) { m_round->hover(x, y); });
    connect(m_grid, &TMyDrawGrid::ClickMyCell, m_round.get(),
            [this](TMyDrawGrid*, int, int, int idx, Qt::MouseButton) { m_round->press(idx); });
    // the main window's grid has an (empty) draw-cell listener, so that its cells are painted
    connect(m_grid, &TMyDrawGrid::DrawCell, this, [](int, int, const QRect&) {});
}

void TForm1::creationSequence()
{
    m_fontId = FontRegistry::add(QString::fromLatin1(SymbolFontFile));
    createLegendPage();
    // Until the project has a public page, the credit line tells about the program itself.
    const QString credit = LoadString(StringId::CreditLine);
    m_linkLabel->setCaption(credit.isEmpty() ? QString::fromLatin1(CreditText) : credit);
    m_linkLabel->setCommand(TLinkLabel::runEVENT);
    connect(m_linkLabel, &TLinkLabel::RunEvent, this, &TForm1::showAbout, Qt::UniqueConnection);
    m_linkLabel->show();
    m_pages->hide();
    m_mainMenuWidth = m_mainMenuButton->width();
    m_currentMode = Mode::MainMenu;
    // the selection the screen starts with is marked as chosen
    selectLearning(learningSelected());
    ShowMode();
    // the screen's place is for a large desktop: the window opens wholly on the one it has
    keepOnScreen(this);
    for (QWidget* panel : std::as_const(m_borderPanels))
        setBackgroundColor(panel, BorderColour);
    checkContentFiles();
    if (!m_terminate)
        checkSymbolFont();
}

void TForm1::checkSymbolFont()
{
    // Without its glyphs every pictogram would show as another font's letters and digits.
    const QString file = Files::find(QString::fromLatin1(SymbolFontFile));
    const QString path =
        QDir::current().absoluteFilePath(file.isEmpty() ? QString::fromLatin1(SymbolFontFile) : file);
    try {
        if (file.isEmpty())
            throw AppError(QString::fromLatin1(Msg::FileNotFound)).inFile(path);
        if (m_fontId < 0)
            throw AppError(QString::fromLatin1(Msg::FontNotInstalled)).inFile(path);
        QList<qint32> numbers;
        try {
            numbers = NumbersOf(ContentFileName(ContentFiles::LegendsBase));
        } catch (const AppError&) {
            // a broken text file was reported by the checksum check already
        }
        QList<uint> codes;
        for (const qint32 number : std::as_const(numbers)) {
            if (number >= 0 && number < CellItem::FirstLibraryNumber)
                codes.append(static_cast<uint>(number & 0xFF));
        }
        const QList<uint> missing = FontRegistry::missingGlyphs(grid()->FontSymbols(), codes);
        if (!missing.isEmpty()) {
            QStringList listed;
            for (const uint code : missing.first(std::min<qsizetype>(missing.size(), MaxListedGlyphs)))
                listed << QString::number(code);
            if (missing.size() > MaxListedGlyphs)
                listed << QStringLiteral("...");
            throw AppError(QString::fromLatin1(Msg::FontLacksSymbols), {listed.join(QLatin1String(", "))})
                .inFile(path);
        }
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
    }
}

void TForm1::createLegendPage()
{
    LegendControls lc;
    lc.page = m_learnPage;
    lc.sheetPicture = bindControl<QLabel>(this, QStringLiteral("Tabl1"));
    lc.columnPicture = bindControl<QLabel>(this, QStringLiteral("Image3"));
    lc.stepText = bindControl<QPlainTextEdit>(this, QStringLiteral("Memo1"));
    lc.note = bindControl<QLabel>(this, QStringLiteral("Label5"));
    lc.title = m_title;
    lc.nextButton = m_nextButton;
    lc.backButton = m_backButton;
    // the memo is disabled so that it takes no clicks, but its text stays readable
    QPalette palette = lc.stepText->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, palette.color(QPalette::Active, QPalette::Text));
    lc.stepText->setPalette(palette);
    m_legend = std::make_unique<LegendPage>(lc);
    connect(m_nextButton, &TCommandButton::clicked, m_legend.get(), &LegendPage::next);
    connect(m_backButton, &TCommandButton::clicked, m_legend.get(), &LegendPage::back);
    connect(m_legend.get(), &LegendPage::quizFinished, this, &TForm1::returnToMainMenu);
    connect(m_legend.get(), &LegendPage::quizRequested, this, guarded([this] {
                m_currentMode = Mode::LegendQuiz;
                ShowMode();
            }));
}

void TForm1::checkContentFiles()
{
    try {
        const QString wrong = ContentCheck::firstWrongChecksum();
        if (!wrong.isEmpty()) {
            MessageBoxes::showPlain(LoadString(StringId::WrongChecksum) + QLatin1Char('\n') +
                                    fileLocation(wrong));
            m_terminate = true;
        }
    } catch (const AppError& error) {
        MessageBoxes::showError(error);
    }
}

void TForm1::ShowMode()
{
    switch (m_currentMode) {
    case Mode::LegendWalkthrough:
    case Mode::LegendQuiz:
        showLearningPage(m_currentMode == Mode::LegendWalkthrough);
        break;
    case Mode::MainMenu:
        showMainMenu();
        break;
    default:
        if (Mode::showsTestSelection(m_currentMode)) {
            m_screens.startDlg->exec();
            // back from the dialog, the keys go to the board of the round it started
            if (m_round->GameState() != GameRound::Finished && !m_grid->isHidden()) {
                activateWindow();
                m_grid->setFocus();
            }
        }
        break;
    }
}

void TForm1::setMenuEnabled(bool enabled)
{
    // Under a page the main menu's own controls take neither the focus nor their Alt letters: a
    // running test is left only through the leave question.
    QList<QWidget*> menu{m_learningButton, m_testingButton, m_linkLabel};
    for (QToolButton* topic : std::as_const(m_topicButtons))
        menu << topic;
    for (QWidget* w : std::as_const(menu))
        w->setEnabled(enabled);
}

void TForm1::showLearningPage(bool walkthrough)
{
    setMenuEnabled(false);
    m_pages->setCurrentWidget(m_learnPage);
    m_pages->show();
    m_title->show();
    m_title->setText(LoadString(walkthrough ? StringId::WalkthroughTitle : StringId::QuizTitle));
    m_nextButton->setVisible(walkthrough);
    m_backButton->setVisible(walkthrough);
    m_pauseButton->hide();
    m_settingsButton->hide();
    m_resultsButton->hide();
    m_progressButton->hide();
    m_quickQuizButton->hide();
    m_mainMenuButton->resize(m_mainMenuWidth, m_mainMenuButton->height());
    m_mainMenuButton->show();
    m_errorsLabel->hide();
    m_errorCountLabel->hide();
    m_clockLabel->hide();
    m_gauge->hide();
    if (walkthrough)
        m_legend->enterWalkthrough();
    else
        m_legend->enterQuiz();
    // the keys of the page reach the window from "Next >>>", or from the window itself in the quiz
    if (walkthrough)
        m_nextButton->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

void TForm1::showMainMenu()
{
    m_pages->hide();
    setMenuEnabled(true);
    m_title->show();
    m_title->setText(mainMenuHeading());
    m_nextButton->hide();
    m_backButton->hide();
    m_pauseButton->hide();
    m_settingsButton->show();
    m_resultsButton->show();
    m_progressButton->show();
    m_quickQuizButton->show();
    m_mainMenuButton->resize(0, m_mainMenuButton->height());
    m_mainMenuButton->hide();
    m_errorsLabel->hide();
    m_errorCountLabel->hide();
    m_clockLabel->hide();
    m_clockLabel->clear();
    m_errorCountLabel->setText(QStringLiteral("0"));
    SetProgress(0);
    m_gauge->hide();
    m_round->stopForMainMenu();
    m_legend->leave();
    // the keys go on in the menu: from the item used last, else from the first topic
    QWidget* focused = focusWidget();
    if (!focused || !focused->isVisible() || focused == this)
        m_topicButtons.first()->setFocus(Qt::OtherFocusReason);
}

void TForm1::SetErrorCount(int n)
{
    m_errorCountLabel->setText(QString::number(n));
}

int TForm1::ErrorCount() const
{
    return m_round->model().errors();
}

void TForm1::SetProgress(int n)
{
    m_progress = n;
    m_gauge->setProgress(n);
}

void TForm1::showHelpFor(int cell)
{
    const CellItem* item = m_grid->Item(cell);
    if (item)
        m_screens.helpForm->ShowHelpFor(cell, item->Text, item->AddText);
}

void TForm1::closeHelp()
{
    // the help window is built after the main window, which shows its main menu first
    if (m_screens.helpForm)
        m_screens.helpForm->CloseHelp();
}

int TForm1::helpShownIndex() const
{
    return m_screens.helpForm ? m_screens.helpForm->ShownIndex() : -1;
}

void TForm1::returnToMainMenu()
{
    m_currentMode = Mode::MainMenu;
    ShowMode();
}

void TForm1::startRound()
{
    setMenuEnabled(false);
    m_progressButton->hide();
    m_quickQuizButton->hide();
    m_round->StartRound();
}

void TForm1::selectLearning(bool learning)
{
    learning ? pressLearning() : pressTesting();
}

void TForm1::setTopicColour(const QColor& colour)
{
    for (QToolButton* button : std::as_const(m_topicButtons)) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, colour);
        palette.setColor(QPalette::WindowText, colour);
        button->setPalette(palette);
    }
    // the chosen one of "Learning" and "Testing" is underlined, as a selected tab would be
    const bool learning = colour == LearningColour;
    for (QToolButton* selector : {m_learningButton, m_testingButton}) {
        QFont font = selector->font();
        font.setUnderline((selector == m_learningButton) == learning);
        selector->setFont(font);
    }
    if (m_currentMode == Mode::MainMenu && m_title)
        m_title->setText(mainMenuHeading());
}

QString TForm1::mainMenuHeading() const
{
    const QString mode =
        LoadString(learningSelected() ? StringId::LearningModeLine : StringId::TestingModeLine);
    const QString title = LoadString(StringId::MainMenuTitle);
    return mode.isEmpty() ? title : title + QLatin1Char('\n') + mode;
}

void TForm1::pressLearning()
{
    setTopicColour(LearningColour);
}

void TForm1::pressTesting()
{
    setTopicColour(TestingColour);
}

bool TForm1::learningSelected() const
{
    // "Combination C.D." tells the selection
    return buttonTextColour(m_topicButtons[2]) == LearningColour;
}

bool TForm1::mapSymbolTopicVisible() const
{
    return !m_topicButtons[3]->isHidden();
}

void TForm1::topicClicked(QToolButton* button, quint8 learningMode, quint8 testingMode)
{
    m_currentMode = buttonTextColour(button) == LearningColour ? learningMode : testingMode;
    ShowMode();
}

QWidget* TForm1::control(const QString& name) const
{
    return findChild<QWidget*>(name);
}

bool TForm1::mayLeaveRound() const
{
    return !m_round->timedRoundInProgress() ||
           MessageBoxes::confirm(LoadString(StringId::LeaveRoundQuestion));
}

void TForm1::bindStatusLine()
{
    // Screens of older language modules lack the status line: it is made here then.
    m_statusLine = m_gamePage->findChild<QLabel*>(QStringLiteral("StatusLine"));
    if (!m_statusLine) {
        m_statusLine = new QLabel(m_gamePage);
        m_statusLine->setObjectName(QStringLiteral("StatusLine"));
        m_statusLine->setGeometry(StatusLineGeometry);
        m_statusLine->setAlignment(Qt::AlignCenter);
    }
    m_statusLine->hide();
}

void TForm1::showAbout()
{
    // a string of the table is one line: "\n" in it stands for a line break
    // and the licence below
    QString about =
        LoadString(StringId::AboutText) + QLatin1String("\\n\\n") + LoadString(StringId::LicenceNotice);
    MessageBoxes::showPlain(about.replace(QLatin1String("\\n"), QLatin1String("\n"))
                                .arg(QuillApplication::title(), QCoreApplication::applicationVersion(),
                                     QDir::toNativeSeparators(DataFolder::path())));
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!mayLeaveRound()) {
        event->ignore();
        return;
    }
    // The stored settings are written first; when that fails the font stays registered.
    if (!m_screens.settingsDlg || m_screens.settingsDlg->writeSettings()) {
        FontRegistry::remove(m_fontId);
        m_fontId = -1;
    }
    QWidget::closeEvent(event);
    // closing the main window ends the program, also while the help window is open
    QCoreApplication::quit();
}
