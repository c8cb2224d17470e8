// SPDX-License-Identifier: GPL-3.0-or-later
// Rounds played on the shipped content, from the test selection to the end, with a deterministic
// random source and clock.
#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "common/MainControls.h"
#include "common/RoundFixture.h"
#include "content/Catalogue.h"
#include "content/Language.h"
#include "content/PictureLibrary.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsViewer.h"
#include "dialogs/THelpForm.h"
#include "dialogs/TSettingsDlg.h"
#include "dialogs/TStartDlg.h"
#include "dialogs/WinnerDialog.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/TMyDrawGrid.h"
#include "learning/LegendPage.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"
#include "platform/Registry.h"
#include "results/ResultsFile.h"
#include "widgets/TCommandButton.h"
#include "widgets/TGauge.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr double Second = 1.0 / 86400.0;

} // namespace

class TestRound : public RoundFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void timedRoundToTheWinnerDialog();
    void textHelpEndsWithoutResult();
    void escapeAtTheEndAsksAndTheRoundStaysOver();
    void pauseKeepsTheClock();
    void practiceShowsDescriptionsAndHelp();
    void selectionKeepsIndexAndCancelResets();
    void everyShippedTestLoads();
    void unplayableTestIsRefused();
    void keyboardAlone();
    void mainMenuLettersInEveryLanguage();
    void everyControlIsNamed();
};

void TestRound::initTestCase()
{
    setUpCase();
}

void TestRound::init()
{
    setUp();
    QCOMPARE(m_messages, QStringList());
}

void TestRound::cleanup()
{
    tearDown();
}

void TestRound::timedRoundToTheWinnerDialog()
{
    m_form->pressTesting();
    startTest(Mode::DescriptionTest, 0);
    GameRound* round = m_form->round();
    QCOMPARE(round->GameState(), quint8(GameRound::Running));
    QVERIFY(round->Timer2().isActive());
    auto* title = qobject_cast<QLabel*>(m_form->control(MainControl::Title));
    auto* clock = qobject_cast<QLabel*>(m_form->control(MainControl::Clock));
    auto* gauge = qobject_cast<TGauge*>(m_form->control(MainControl::Gauge));
    const int cells = m_grid->CellCount() - m_grid->ClearedCount();
    QVERIFY(cells > 0);
    QCOMPARE(gauge->maxValue(), cells);
    QVERIFY(!gauge->isHidden());
    QVERIFY(m_form->control(MainControl::ResultsButton)->isHidden());
    QVERIFY(!m_form->control(MainControl::PauseButton)->isHidden());
    QCOMPARE(clock->text(), QString()); // until the first tick

    WinnerDialog* win = m_windows->screens().winnerDialog;
    bool winnerShown = false;
    QString winnerTime;
    for (int found = 0; found < cells; ++found) {
        const QString target = title->text();
        QVERIFY(!target.isEmpty());
        // a wrong press first: counted, nothing cleared
        const int wrong = cellWithText(target, true);
        if (wrong >= 0) {
            press(wrong);
            QCOMPARE(m_form->ErrorCount(), found + 1);
            QCOMPARE(title->text(), target);
        }
        m_now += 1.6 * Second;
        round->tick();
        if (found == cells - 1) {
            QTimer::singleShot(0, win, [&] {
                winnerShown = true;
                winnerTime = win->findChild<QLabel*>(QStringLiteral("TimeLabel"))->text();
                win->findChild<QLineEdit*>(QStringLiteral("NameEdit"))->setText(QStringLiteral("Runner"));
                win->findChild<QPushButton*>(QStringLiteral("ConfirmButton"))->click();
                win->findChild<QPushButton*>(QStringLiteral("CloseButton"))->click();
            });
        }
        press(cellWithText(target));
        if (found < cells - 1)
            QCOMPARE(m_form->Progress(), found + 1);
    }
    QVERIFY(winnerShown);
    QCOMPARE(round->GameState(), quint8(GameRound::Finished));
    QVERIFY(!round->Timer2().isActive());
    QCOMPARE(m_form->CurrentMode(), Mode::MainMenu);
    // the time is the one of the last tick, before the final press
    const double elapsed = round->ElapsedTime();
    QCOMPARE(qRound(elapsed / Second * 10), qRound(cells * 16.0));
    QCOMPARE(winnerTime, QStringLiteral("Time ") + formatMinutesSeconds(elapsed));
    QCOMPARE(clock->text(), QString()); // the main menu empties the clock

    const int count = LoadRankedResults(Catalogue().Entries[0].TestNumber);
    QCOMPARE(count, 1);
    QCOMPARE(ResultsTable().at(0).PlayerName, QStringLiteral("Runner"));
    QCOMPARE(ResultsTable().at(0).Errors, m_form->ErrorCount());

    // the results viewer opens on the test just played, with its result
    ResultsViewer* viewer = m_windows->screens().resultsViewer;
    const QString testName = m_windows->screens().startDlg->CurrentTestName();
    QString shownTest;
    QString shownName;
    QTimer::singleShot(0, viewer, [&] {
        shownTest = viewer->tests()->currentText();
        shownName = viewer->table()->cellText(1, 1);
        viewer->accept();
    });
    viewer->exec();
    QCOMPARE(shownTest, testName);
    QCOMPARE(shownName, QStringLiteral("Runner"));
}

void TestRound::textHelpEndsWithoutResult()
{
    auto* textHelp = m_windows->screens().settingsDlg->findChild<QCheckBox*>(QStringLiteral("TextHelpBox"));
    textHelp->click();
    QVERIFY(m_grid->ShowTextHelp());
    startTest(Mode::MapSymbolTest, 0);
    auto* title = qobject_cast<QLabel*>(m_form->control(MainControl::Title));
    // the round ends with its summary, which says that the result is not recorded
    WinnerDialog* summary = m_windows->screens().winnerDialog;
    QString note;
    QTimer::singleShot(0, summary, [&] {
        QTRY_VERIFY(summary->isVisible());
        note = summary->findChild<QLabel*>(QStringLiteral("NamePrompt"))->text();
        summary->findChild<QPushButton*>(QStringLiteral("CloseButton"))->click();
    });
    for (int presses = 0; m_form->round()->GameState() == GameRound::Running; ++presses) {
        QVERIFY2(presses < 15, qPrintable(title->text()));
        const int cell = cellWithText(title->text());
        QVERIFY2(cell >= 0, qPrintable(title->text()));
        press(cell);
    }
    QCOMPARE(note, LoadString(StringId::ResultNotRecorded));
    QVERIFY(title->text().startsWith(QStringLiteral("Select type of test\n")));
    QCOMPARE(m_form->CurrentMode(), Mode::MainMenu);
    QCOMPARE(m_form->round()->GameState(), quint8(GameRound::Finished));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("Results.dat"))));
}

// Escape in the end-of-test dialog asks first, as every other way of leaving a test does: "No"
// keeps the dialog, "Yes" goes to the main menu without a result. The finished round never runs
// again.
void TestRound::escapeAtTheEndAsksAndTheRoundStaysOver()
{
    QStringList asked;
    bool answer = false;
    MessageBoxes::setConfirmHandler([&](const QString& text) {
        asked << text;
        return answer;
    });
    const auto restore = qScopeGuard([] { MessageBoxes::setConfirmHandler({}); });
    startTest(Mode::MapSymbolTest, 0);
    GameRound* round = m_form->round();
    auto* title = qobject_cast<QLabel*>(m_form->control(MainControl::Title));
    WinnerDialog* win = m_windows->screens().winnerDialog;
    bool keptAfterNo = false;
    QTimer::singleShot(0, win, [&] {
        QTRY_VERIFY(win->isVisible());
        QTest::keyClick(win, Qt::Key_Escape);
        keptAfterNo = win->isVisible();
        answer = true;
        QTest::keyClick(win, Qt::Key_Escape);
    });
    for (int presses = 0; round->GameState() == GameRound::Running; ++presses) {
        QVERIFY2(presses < 15, qPrintable(title->text()));
        press(cellWithText(title->text()));
    }
    QVERIFY(!win->isVisible());
    QCOMPARE(asked, (QStringList{LoadString(StringId::LeaveRoundQuestion),
                                 LoadString(StringId::LeaveRoundQuestion)}));
    QVERIFY(keptAfterNo);
    QCOMPARE(m_form->CurrentMode(), Mode::MainMenu);
    QCOMPARE(LoadRankedResults(m_windows->screens().startDlg->CurrentTestNumber()), 0);
    // the pause button is gone, and pausing a finished round does nothing
    QVERIFY(m_form->control(MainControl::PauseButton)->isHidden());
    QTest::keyClick(m_form, Qt::Key_P);
    QMetaObject::invokeMethod(m_form->control(MainControl::PauseButton), "clicked");
    QCOMPARE(round->GameState(), quint8(GameRound::Finished));
    QVERIFY(m_grid->isHidden());
}

void TestRound::pauseKeepsTheClock()
{
    startTest(Mode::DescriptionTest, 2);
    GameRound* round = m_form->round();
    auto* clock = qobject_cast<QLabel*>(m_form->control(MainControl::Clock));
    m_now += 5.2 * Second;
    round->tick();
    QCOMPARE(clock->text(), QStringLiteral("0:05"));
    QMetaObject::invokeMethod(m_form->control(MainControl::PauseButton), "clicked");
    QCOMPARE(round->GameState(), quint8(GameRound::Paused));
    QVERIFY(m_grid->isHidden());
    QVERIFY(!m_form->control(MainControl::PausedNote)->isHidden());
    for (int s = 0; s < 10; ++s) {
        m_now += Second;
        round->tick();
        QCOMPARE(clock->text(), QStringLiteral("0:05"));
    }
    QMetaObject::invokeMethod(m_form->control(MainControl::PauseButton), "clicked");
    QCOMPARE(round->GameState(), quint8(GameRound::Running));
    QVERIFY(!m_grid->isHidden());
    m_now += 1.0 * Second;
    round->tick();
    QCOMPARE(clock->text(), QStringLiteral("0:06"));
    // "Main menu" abandons the round: the clock stops, nothing is recorded
    QMetaObject::invokeMethod(m_form->control(MainControl::MainMenuButton), "clicked");
    QVERIFY(!round->Timer2().isActive());
    QCOMPARE(m_form->CurrentMode(), Mode::MainMenu);
}

void TestRound::practiceShowsDescriptionsAndHelp()
{
    startTest(Mode::DescriptionPractice, 1);
    THelpForm* help = m_windows->screens().helpForm;
    auto* title = qobject_cast<QLabel*>(m_form->control(MainControl::Title));
    auto* left = qobject_cast<QLabel*>(m_form->control(MainControl::LeftPicture));
    QVERIFY(m_form->control(MainControl::Gauge)->isHidden());
    QVERIFY(m_form->control(MainControl::Clock)->isHidden());
    QVERIFY(m_form->control(MainControl::PauseButton)->isHidden());
    QVERIFY(!m_form->round()->Timer2().isActive());

    const int first = cellWithText(QString(), true);
    const int second = cellWithText(m_grid->Item(first)->Text, true);
    QVERIFY(first >= 0 && second >= 0);
    QTest::mouseMove(m_grid, cellCentre(first));
    QTRY_COMPARE(title->text(), m_grid->Item(first)->Text);
    QVERIFY(!left->pixmap().isNull());
    press(first);
    QCOMPARE(help->ShownIndex(), first);
    QVERIFY(help->isVisible());
    QCOMPARE(help->windowTitle(), m_grid->Item(first)->Text);
    press(second);
    QCOMPARE(help->ShownIndex(), second); // replaced in place
    press(second);
    QCOMPARE(help->ShownIndex(), -1); // the same cell again closes it
    QVERIFY(!help->isVisible());
    // practice never ends: every press shows help, nothing is cleared
    const int cleared = m_grid->ClearedCount();
    for (int i = 0; i < m_grid->CellCount(); ++i)
        press(i);
    QCOMPARE(m_grid->ClearedCount(), cleared);
    QCOMPARE(m_form->round()->GameState(), quint8(GameRound::Running));
}

void TestRound::selectionKeepsIndexAndCancelResets()
{
    TStartDlg* start = m_windows->screens().startDlg;
    startTest(Mode::DescriptionPractice, 5);
    QCOMPARE(start->SelectedIndex(), 5);
    const qint32 number = start->CurrentTestNumber();
    QVERIFY(number > 0);
    // a kind not played yet offers the index chosen last; a catalogue too short for it the first
    int selected = -1;
    QTimer::singleShot(0, start, [&] {
        selected = start->list()->currentRow();
        start->reject();
    });
    m_form->setCurrentMode(Mode::MapSymbolPractice);
    m_form->ShowMode();
    QCOMPARE(selected, 5);
    QCOMPARE(start->CurrentTestNumber(), 0);
    QCOMPARE(start->SelectedIndex(), 5);
    QCOMPARE(m_form->CurrentMode(), Mode::MainMenu);
    // each kind offers the test played last of that kind
    startTest(Mode::MapSymbolPractice, 2);
    QTimer::singleShot(0, start, [&] {
        selected = start->list()->currentRow();
        start->reject();
    });
    m_form->setCurrentMode(Mode::DescriptionTest);
    m_form->ShowMode();
    QCOMPARE(selected, 5);

    // a missing catalogue: the message, an empty list, and OK goes back to the main menu
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("types.eng"))) || true);
    QTimer::singleShot(0, start, [&] {
        selected = start->list()->count();
        start->accept();
    });
    m_form->setCurrentMode(Mode::CombinationPractice);
    m_form->ShowMode();
    QCOMPARE(selected, 0);
    QCOMPARE(m_messages, QStringList{QStringLiteral("File not found.\nFile: ") +
                                     m_dir->filePath(QStringLiteral("types.eng"))});
    QCOMPARE(m_form->CurrentMode(), Mode::MainMenu);
}

void TestRound::everyShippedTestLoads()
{
    // every test of the three catalogues opens and fills the board without a message
    for (const quint8 mode :
         {Mode::DescriptionPractice, Mode::MapSymbolPractice, Mode::CombinationPractice}) {
        const QString catalogue = TStartDlg::catalogueFor(mode);
        if (!QFile::exists(m_dir->filePath(catalogue)))
            continue; // content not shipped yet
        ReadCatalogue(catalogue);
        const int tests = Catalogue().Count();
        QVERIFY(tests > 0);
        for (int t = 0; t < tests; ++t) {
            startTest(mode, t);
            QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
            const int loaded = m_grid->CellCount() - m_grid->ClearedCount();
            QVERIFY2(loaded > 0 && loaded <= 15,
                     qPrintable(QStringLiteral("%1 test %2").arg(catalogue).arg(t)));
            for (int i = 0; i < m_grid->CellCount(); ++i)
                QVERIFY(m_grid->Item(i)->Cleared() || !m_grid->Item(i)->Text.isEmpty());
            m_form->setCurrentMode(Mode::MainMenu);
            m_form->ShowMode();
        }
    }
}

// With content missing or damaged, a test is refused before it starts: one message naming the
// file and the number, the main menu, no result.
void TestRound::unplayableTestIsRefused()
{
    const auto refused = [this](quint8 mode, const QString& expected) {
        m_messages.clear();
        startTest(mode, 0);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().contains(expected), qPrintable(m_messages.first()));
        QCOMPARE(m_form->CurrentMode(), Mode::MainMenu);
        QCOMPARE(m_grid->ClearedCount(), m_grid->CellCount());
        QCOMPARE(m_windows->screens().startDlg->CurrentTestNumber(), 0);
    };
    // a text file emptied: its checksum fails at the next start, and until then tests refuse
    QVERIFY(m_dir->write(QStringLiteral("Symbols.eng"), QByteArray()));
    refused(Mode::MapSymbolTest, QStringLiteral("No text for number"));
    QVERIFY(m_messages.first().contains(m_dir->filePath(QStringLiteral("Symbols.eng"))));
    // the picture library cut short
    QFile library(m_dir->filePath(QStringLiteral("Bitm1.dll")));
    QVERIFY(library.resize(library.size() / 2));
    PictureLibrary::closeAll();
    refused(Mode::CombinationTest, m_dir->filePath(QStringLiteral("Bitm1.dll")));
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Bitm1.dll"))));
    refused(Mode::CombinationTest,
            QStringLiteral("File not found.\nFile: ") + m_dir->filePath(QStringLiteral("Bitm1.dll")));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("Results.dat"))) ||
            QFileInfo(m_dir->filePath(QStringLiteral("Results.dat"))).size() == 0);
}

// The key to the widget that has the focus, as a keyboard delivers it.
static void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "no widget has the focus");
    QTest::keyClick(target, Qt::Key(k), modifiers);
}

// A whole timed test and the walkthrough, played with key events only.
void TestRound::keyboardAlone()
{
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    auto* title = qobject_cast<QLabel*>(m_form->control(MainControl::Title));
    // the walkthrough: Alt+D (the description sheet), Right twice, Left once, Escape
    m_form->control(QStringLiteral("SpeedButton1"))->setFocus();
    key(Qt::Key_Space); // "Learning"
    QVERIFY(m_form->learningSelected());
    key(Qt::Key_Down); // the first topic, the description sheet
    key(Qt::Key_Return);
    QCOMPARE(m_form->CurrentMode(), Mode::LegendWalkthrough);
    key(Qt::Key_Right);
    key(Qt::Key_PageDown);
    key(Qt::Key_Left);
    QCOMPARE(m_form->legend()->LegendStep(), 2);
    key(Qt::Key_Escape);
    QCOMPARE(m_form->CurrentMode(), Mode::MainMenu);
    // every side button is a stop of Tab: "My progress", then "Quick quiz"
    m_form->control(QStringLiteral("ProgressButton"))->setFocus();
    key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_form->control(QStringLiteral("QuickQuizButton")));

    // "Testing", then the description symbols; the test selection takes Down and Return
    m_form->control(QStringLiteral("SpeedButton1"))->setFocus();
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    QVERIFY(!m_form->learningSelected());
    key(Qt::Key_Down);
    key(Qt::Key_Down); // "Description symbols"
    TStartDlg* start = m_windows->screens().startDlg;
    QTimer::singleShot(0, start, [start] {
        QTest::keyClick(start->list(), Qt::Key_Home);
        QTest::keyClick(start->list(), Qt::Key_Return);
    });
    key(Qt::Key_Return);
    QCOMPARE(m_form->CurrentMode(), Mode::DescriptionTest);
    QCOMPARE(m_form->round()->GameState(), quint8(GameRound::Running));
    QTRY_COMPARE(QApplication::focusWidget(), m_grid); // once the main window is active again
    QCOMPARE(m_grid->FocusCell(), 0);

    // P pauses and resumes
    key(Qt::Key_P);
    QCOMPARE(m_form->round()->GameState(), quint8(GameRound::Paused));
    QTest::keyClick(m_form, Qt::Key_P);
    QCOMPARE(m_form->round()->GameState(), quint8(GameRound::Running));
    QCOMPARE(QApplication::focusWidget(), m_grid);

    WinnerDialog* win = m_windows->screens().winnerDialog;
    bool recorded = false;
    int presses = 0;
    while (m_form->round()->GameState() == GameRound::Running && presses < 40) {
        const int wanted = cellWithText(title->text());
        QVERIFY(wanted >= 0);
        // one wrong press on the way: the focus cell before the wanted one
        if (presses == 0 && wanted != m_grid->FocusCell()) {
            while (m_grid->Item(m_grid->FocusCell())->Cleared())
                key(Qt::Key_Right);
            if (m_grid->Item(m_grid->FocusCell())->Text != title->text()) {
                key(Qt::Key_Return);
                QCOMPARE(m_form->ErrorCount(), 1);
            }
        }
        while (m_grid->FocusCell() != wanted)
            key(Qt::Key_Right);
        ++presses;
        if (m_grid->CellCount() - m_grid->ClearedCount() == 1) {
            QTimer::singleShot(0, win, [&] {
                // the name box has the focus; Return confirms, Return again closes
                auto* name = win->findChild<QLineEdit*>(QStringLiteral("NameEdit"));
                name->selectAll();
                QTest::keyClicks(name, QStringLiteral("Keys"));
                QTest::keyClick(name, Qt::Key_Return);
                recorded = win->showsTable();
                QTest::keyClick(win, Qt::Key_Return);
                if (win->isVisible())
                    win->reject();
            });
        }
        key(Qt::Key_Return);
    }
    QVERIFY(recorded);
    QCOMPARE(m_form->CurrentMode(), Mode::MainMenu);
    QCOMPARE(LoadRankedResults(m_windows->screens().startDlg->CurrentTestNumber()), 1);
    QCOMPARE(ResultsTable().first().PlayerName, QStringLiteral("Keys"));
    QCOMPARE(ResultsTable().first().Errors, m_form->ErrorCount());
}

// The controls of a window that a screen reader should name: the visible interactive ones and
// the pictures and counters that carry meaning. Panels and pages are only containers.
static QStringList unnamedControls(QWidget* window)
{
    QStringList unnamed;
    const QList<QWidget*> widgets = window->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(window) || w->size().isEmpty())
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a)
            continue;
        const QAccessible::Role role = a->role();
        const bool meaningful = role == QAccessible::Button || role == QAccessible::CheckBox ||
                                role == QAccessible::RadioButton || role == QAccessible::ComboBox ||
                                role == QAccessible::List || role == QAccessible::Table ||
                                role == QAccessible::ProgressBar || role == QAccessible::PushButton ||
                                role == QAccessible::EditableText || w->inherits("TCommandButton") ||
                                w->inherits("TGauge") || w->inherits("TLinkLabel") ||
                                w->inherits("AreaMarker");
        if (meaningful && a->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()),
                                                   w->objectName());
    }
    return unnamed;
}

// The letter after the "&" of a caption, as a button underlines it; none without one.
static QChar altLetter(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&'))
            return caption[i + 1] == QLatin1Char('&') ? (++i, QChar()) : caption[i + 1];
    }
    return {};
}

// Every control of the main menu has an Alt letter of its own in every shipped language, and
// Alt with it presses the control.
void TestRound::mainMenuLettersInEveryLanguage()
{
    const auto builtIn = qScopeGuard([] { Language::activateBuiltIn(); });
    const QStringList modules = QDir(m_dir->path()).entryList({QStringLiteral("quill.*")}, QDir::Files);
    QVERIFY(modules.size() >= 3);
    for (const QString& module : modules) {
        m_windows.reset();
        QVERIFY(Language::activateModuleFile(m_dir->filePath(module)));
        m_windows = std::make_unique<WindowSet>();
        m_form = m_windows->form();
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QString taken;
        for (QWidget* control : m_form->findChildren<QWidget*>()) {
            auto* tool = qobject_cast<QToolButton*>(control);
            auto* side = qobject_cast<TCommandButton*>(control);
            if (!tool && !side)
                continue;
            const QString caption = tool ? tool->text() : side->caption();
            const QChar letter = altLetter(caption);
            const QString where = module + QLatin1String(": ") + caption;
            QVERIFY2(letter.isLetter(), qPrintable(where));
            QVERIFY2(!taken.contains(letter.toLower()), qPrintable(where + QLatin1String(" (letter taken)")));
            taken += letter.toLower();
            if (!control->isVisible())
                continue; // Next, Back, Pause and Main menu belong to other screens
            // pressed, but without opening what it opens
            QObject::disconnect(control, nullptr, m_form, nullptr);
            QSignalSpy pressed(control, tool ? SIGNAL(clicked(bool)) : SIGNAL(clicked()));
            QTest::keyClick(m_form, Qt::Key(letter.toUpper().unicode()), Qt::AltModifier);
            QTRY_VERIFY2(pressed.count() == 1, qPrintable(where));
        }
        QCOMPARE(taken.size(), 15);
    }
}

void TestRound::everyControlIsNamed()
{
    QCOMPARE(unnamedControls(m_form), QStringList()); // the main menu
    startTest(Mode::DescriptionPractice, 0);
    QCOMPARE(unnamedControls(m_form), QStringList());
    // the board is a table of cells named by their place; practice tells their descriptions
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(m_grid);
    QCOMPARE(board->role(), QAccessible::Table);
    QCOMPARE(board->childCount(), m_grid->CellCount());
    QAccessibleInterface* cell = board->child(4);
    QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("row 2, column 2"));
    QCOMPARE(cell->text(QAccessible::Description), m_grid->Item(4)->Text);
    // a test never does
    m_form->returnToMainMenu();
    startTest(Mode::DescriptionTest, 0);
    QCOMPARE(unnamedControls(m_form), QStringList());
    QCOMPARE(QAccessible::queryAccessibleInterface(m_grid)->child(4)->text(QAccessible::Description),
             QString());
    m_form->returnToMainMenu();

    Screens& screens = m_windows->screens();
    for (QDialog* dialog : std::initializer_list<QDialog*>{screens.settingsDlg, screens.resultsViewer}) {
        QStringList missing;
        QTimer::singleShot(0, dialog, [&] {
            missing = unnamedControls(dialog);
            dialog->reject();
        });
        dialog->exec();
        QVERIFY2(missing.isEmpty(),
                 qPrintable(dialog->objectName() + QLatin1String(": ") + missing.join(u',')));
    }
}

QTEST_MAIN(TestRound)
#include "tst_round.moc"
