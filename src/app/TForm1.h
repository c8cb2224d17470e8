// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/RoundHost.h"
#include "screens/MainWindow.h"

#include <QWidget>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QToolButton;
class GameRound;
class LegendPage;
class TCommandButton;
class TGauge;
class TLinkLabel;
class TMyDrawGrid;
struct Screens;

// The main window: every screen (main menu, walkthrough, quiz, game) is a mode of this one window,
// chosen by CurrentMode and applied by ShowMode.
class TForm1 : public QWidget, public MainWindow, public RoundHost
{
    Q_OBJECT
public:
    // Loads the window's screen description and runs its creation sequence: the symbol font, the
    // main menu and the checks of the content files.
    explicit TForm1(Screens& screens);
    ~TForm1() override;

    // MainWindow
    quint8 CurrentMode() const override { return m_currentMode; }
    void setCurrentMode(quint8 mode) override { m_currentMode = mode; }
    void ShowMode() override;
    void returnToMainMenu() override;
    TMyDrawGrid* grid() const override { return m_grid; }
    GameRound* gameRound() const override { return m_round.get(); }
    void startRound() override;
    bool learningSelected() const override;
    void selectLearning(bool learning) override;
    bool mapSymbolTopicVisible() const override;
    QPoint windowPosition() const override { return pos(); }
    QSize windowFrameSize() const override { return frameGeometry().size(); }
    void moveWindow(QPoint position) override { move(position); }

    // RoundHost
    void SetErrorCount(int n) override;
    void SetProgress(int n) override;
    int Progress() const override { return m_progress; }
    int MainMenuWidth() const override { return m_mainMenuWidth; }
    void showHelpFor(int cell) override;
    void closeHelp() override;
    int helpShownIndex() const override;

    // The main menu's learning/testing selection: the colour of the topic buttons.
    void pressLearning();
    void pressTesting();

    // A content check failed: the program ends before its event loop runs.
    bool terminateRequested() const { return m_terminate; }

    GameRound* round() const { return m_round.get(); }
    // The errors of the round played last.
    int ErrorCount() const;
    LegendPage* legend() const { return m_legend.get(); }
    QWidget* control(const QString& name) const;

signals: // Modes 0 and 1 entered: the walkthrough or the quiz takes over the page "Learn general".
    void learningEntered(bool walkthrough);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindControls();
    void connectControls();
    void creationSequence();
    void checkContentFiles();
    void checkSymbolFont();
    void bindStatusLine();
    // Keys (TForm1Keys.cpp): focus order and mnemonics, and the keys of each screen.
    void setUpKeyboard();
    void nameControls();
    QList<TCommandButton*> sideButtons() const;
    bool mainMenuKey(int key);
    bool walkthroughKey(int key);
    bool quizKey(int key);
    bool gameKey(int key);
    // What the program is, its version and where it keeps the results.
    void showAbout();
    // During a timed test the user is asked before the round is thrown away.
    bool mayLeaveRound() const;
    void createLegendPage();
    void topicClicked(QToolButton* button, quint8 learningMode, quint8 testingMode);
    void setTopicColour(const QColor& colour);
    void showMainMenu();
    // The main menu's heading: what to do, and which mode is chosen.
    QString mainMenuHeading() const;
    void showLearningPage(bool walkthrough);
    void setMenuEnabled(bool enabled);

    Screens& m_screens;
    quint8 m_currentMode = Mode::MainMenu;
    int m_mainMenuWidth = 0;
    int m_progress = 0;
    int m_fontId = -1;
    bool m_terminate = false;

    QLabel* m_title = nullptr;
    QLabel* m_image1 = nullptr;
    QLabel* m_image2 = nullptr;
    QLabel* m_imageTextMode = nullptr;
    QLabel* m_clockLabel = nullptr;
    QLabel* m_errorsLabel = nullptr;
    QLabel* m_errorCountLabel = nullptr;
    QLabel* m_pausedLabel = nullptr;
    QLabel* m_statusLine = nullptr;
    TGauge* m_gauge = nullptr;
    TCommandButton* m_settingsButton = nullptr;
    TCommandButton* m_resultsButton = nullptr;
    TCommandButton* m_nextButton = nullptr;
    TCommandButton* m_backButton = nullptr;
    TCommandButton* m_pauseButton = nullptr;
    TCommandButton* m_mainMenuButton = nullptr;
    TCommandButton* m_exitButton = nullptr;
    // Only on the main menu, in the place the walkthrough's "Next >>>" takes on its page.
    TCommandButton* m_progressButton = nullptr;
    // Only on the main menu, below "My progress".
    TCommandButton* m_quickQuizButton = nullptr;
    QToolButton* m_learningButton = nullptr;
    QToolButton* m_testingButton = nullptr;
    QList<QToolButton*> m_topicButtons;
    TLinkLabel* m_linkLabel = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_learnPage = nullptr;
    QWidget* m_gamePage = nullptr;
    QList<QWidget*> m_borderPanels;
    TMyDrawGrid* m_grid = nullptr;
    std::unique_ptr<GameRound> m_round;
    std::unique_ptr<LegendPage> m_legend;
};
