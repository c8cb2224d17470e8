// SPDX-License-Identifier: GPL-3.0-or-later
// The real window set started on fixture content in a temporary folder: start-up checks, the main
// menu and its modes.
#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "common/MainControls.h"
#include "common/Stamped.h"
#include "common/TempWorkDir.h"
#include "content/Checksum.h"
#include "content/Language.h"
#include "dialogs/ResultsViewer.h"
#include "dialogs/TStartDlg.h"
#include "game/Modes.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "platform/Registry.h"

#include <QLabel>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

struct Messages
{
    QStringList texts;
    Messages()
    {
        MessageBoxes::setHandler([this](MessageBoxes::Kind, const QString& text) { texts << text; });
    }
    ~Messages() { MessageBoxes::setHandler({}); }
};

// A window that registers itself while it is built, as the dialogs do, and can fail after that.
struct FakeWindow
{
    FakeWindow(DeferredWindow<FakeWindow>& slot, bool& fail)
    {
        slot = this;
        if (fail)
            throw AppError(QString::fromLatin1(Msg::ResourceNotFound), {QStringLiteral("TFake")});
    }
};

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void mainMenuAfterStart();
    void symbolFontCheckedAtStart();
    void wrongChecksumStopsAfterOneMessage();
    void missingContentFileIsReported();
    void topicButtonsChooseModes();
    void mainMenuButtonWidth();
    void errorCountAndProgress();
    void dialogsBuiltAfterFirstPaint();
    void failedDeferredWindowIsForgotten();

private:
    void writeContent(const TempWorkDir& dir, bool symbols = false);
    QTemporaryDir m_store;
};

void TestApp::initTestCase()
{
    Language::activateBuiltIn();
    RegistryKey::setStoreDirectory(m_store.path());
}

void TestApp::init()
{
    QFile::remove(RegistryKey::storeFile());
}

void TestApp::writeContent(const TempWorkDir& dir, bool symbols)
{
    QVERIFY(dir.write(QStringLiteral("Bitm1.eng"), stamped("990 Taped route\r\n")));
    QVERIFY(dir.write(QStringLiteral("Legends.eng"), stamped("33 Boulder\r\n")));
    if (symbols)
        QVERIFY(dir.write(QStringLiteral("Symbols.eng"), stamped("101 Contour\r\n")));
    QVERIFY(dir.write(QStringLiteral("TypesLeg.eng"), "101 Rock\r\n\r\nN33"));
    QVERIFY(dir.copyIn(QStringLiteral(QUILL_RUN_DIR "/Pictor07.TTF"), QStringLiteral("Pictor07.TTF")));
}

void TestApp::symbolFontCheckedAtStart()
{
    TempWorkDir dir;
    writeContent(dir);
    const QString font = dir.filePath(QStringLiteral("Pictor07.TTF"));
    const auto startMessages = [] {
        Messages messages;
        WindowSet windows;
        return messages.texts;
    };
    // a content number the font has no glyph for (code 1)
    QVERIFY(dir.write(QStringLiteral("Legends.eng"), stamped("33 Boulder\r\n1 Nothing\r\n")));
    QCOMPARE(startMessages(),
             QStringList{QStringLiteral("The symbol font cannot draw symbol 1.\nFile: ") + font});
    QVERIFY(dir.write(QStringLiteral("Pictor07.TTF"), "not a font"));
    QCOMPARE(startMessages(),
             QStringList{QStringLiteral("The symbol font could not be installed.\nFile: ") + font});
    QVERIFY(QFile::remove(font));
    QCOMPARE(startMessages(), QStringList{QStringLiteral("File not found.\nFile: ") + font});
}

void TestApp::mainMenuAfterStart()
{
    TempWorkDir dir;
    writeContent(dir, true);
    Messages messages;
    WindowSet windows;
    TForm1* form = windows.form();
    QVERIFY(messages.texts.isEmpty());
    QVERIFY(!form->terminateRequested());
    QCOMPARE(form->CurrentMode(), Mode::MainMenu);
    QCOMPARE(form->windowTitle(), QStringLiteral("Quillon 2 For Orienteering"));
    // the heading says what to do and which mode is chosen
    QCOMPARE(qobject_cast<QLabel*>(form->control(MainControl::Title))->text(),
             QStringLiteral("Select type of test\n") + LoadString(StringId::LearningModeLine));
    for (const char* shown : {"ResultsButton", "SettingsButton", "ExitButton", "Label1"})
        QVERIFY2(!form->control(QString::fromLatin1(shown))->isHidden(), shown);
    for (const char* hidden : {"MainMenuButton", "NextButton", "BackButton", "PauseButton", "Gauge1",
                               "Label2", "Label3", "Label4", "PageControl1"})
        QVERIFY2(form->control(QString::fromLatin1(hidden))->isHidden(), hidden);
    QCOMPARE(form->control(MainControl::MainMenuButton)->width(), 0);
    QCOMPARE(form->size(), QSize(718, 531));
    // the border panels are white after creation
    QCOMPARE(form->control(MainControl::BorderPanel)->palette().color(QPalette::Window), QColor(Qt::white));
}

void TestApp::wrongChecksumStopsAfterOneMessage()
{
    TempWorkDir dir;
    writeContent(dir);
    QVERIFY(dir.write(QStringLiteral("Bitm1.eng"), "12\r\n990 Taped route\r\n"));
    // the legends file would fail too, but it is not checked any more
    QVERIFY(dir.write(QStringLiteral("Legends.eng"), "13\r\nx"));
    Messages messages;
    WindowSet windows;
    QCOMPARE(messages.texts, QStringList{QStringLiteral("Wrong checksum. Reinstall\nFile: ") +
                                         dir.filePath(QStringLiteral("Bitm1.eng"))});
    QVERIFY(windows.form()->terminateRequested());
}

void TestApp::missingContentFileIsReported()
{
    TempWorkDir dir;
    writeContent(dir);
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("Legends.eng"))));
    {
        Messages messages;
        WindowSet windows;
        // the message names the missing file; the program goes on without it
        QCOMPARE(messages.texts, QStringList{QStringLiteral("File not found.\nFile: ") +
                                             dir.filePath(QStringLiteral("legends.eng"))});
        QVERIFY(!windows.form()->terminateRequested());
        QCOMPARE(windows.form()->CurrentMode(), Mode::MainMenu);
    }
    QVERIFY(dir.write(QStringLiteral("Legends.eng"), "abc\r\n"));
    Messages messages;
    WindowSet windows;
    QCOMPARE(messages.texts,
             QStringList{QStringLiteral("Invalid numeric input.\nFile: ") +
                         dir.filePath(QStringLiteral("Legends.eng")) + QStringLiteral(", line 1")});
}

void TestApp::topicButtonsChooseModes()
{
    TempWorkDir dir;
    writeContent(dir);
    Messages messages;
    WindowSet windows;
    TForm1* form = windows.form();
    TStartDlg* start = windows.screens().startDlg;
    auto button = [form](const char* name) {
        return qobject_cast<QToolButton*>(form->control(QString::fromLatin1(name)));
    };
    // a topic that opens the test selection: note the mode while the dialog runs, then cancel it
    auto modeOf = [&](const char* topic) {
        quint8 seen = 255;
        QTimer::singleShot(0, start, [&] {
            seen = form->CurrentMode();
            start->reject();
        });
        button(topic)->click();
        return seen;
    };
    QCOMPARE(modeOf("SpeedButton4"), Mode::DescriptionPractice);
    QCOMPARE(form->CurrentMode(), Mode::MainMenu); // Cancel returns to the main menu
    QCOMPARE(start->CurrentTestNumber(), 0);
    QCOMPARE(modeOf("SpeedButton5"), Mode::MapSymbolPractice);
    QCOMPARE(modeOf("SpeedButton3"), Mode::CombinationPractice);
    button("SpeedButton2")->click(); // "Testing"
    QVERIFY(!form->learningSelected());
    // the chosen mode looks chosen, the other not, and the heading names it
    QVERIFY(button("SpeedButton2")->font().underline() && !button("SpeedButton1")->font().underline());
    QVERIFY(qobject_cast<QLabel*>(form->control(MainControl::Title))
                ->text()
                .endsWith(LoadString(StringId::TestingModeLine)));
    QCOMPARE(modeOf("SpeedButton4"), Mode::DescriptionTest);
    QCOMPARE(modeOf("SpeedButton5"), Mode::MapSymbolTest);
    QCOMPARE(modeOf("SpeedButton3"), Mode::CombinationTest);
    button("SpeedButton6")->click();
    QCOMPARE(form->CurrentMode(), Mode::LegendQuiz);
    // under a page the main menu's controls do nothing
    button("SpeedButton1")->click();
    QVERIFY(!form->learningSelected());
    form->returnToMainMenu();
    button("SpeedButton1")->click(); // "Learning"
    QVERIFY(form->learningSelected());
    button("SpeedButton6")->click();
    QCOMPARE(form->CurrentMode(), Mode::LegendWalkthrough);
}

void TestApp::mainMenuButtonWidth()
{
    TempWorkDir dir;
    writeContent(dir);
    Messages messages;
    WindowSet windows;
    TForm1* form = windows.form();
    QWidget* mainMenu = form->control(MainControl::MainMenuButton);
    form->setCurrentMode(Mode::LegendWalkthrough);
    form->ShowMode();
    QVERIFY(!mainMenu->isHidden());
    QCOMPARE(mainMenu->width(), 97);
    QVERIFY(!form->control(MainControl::Pages)->isHidden());
    QMetaObject::invokeMethod(mainMenu, "clicked");
    QCOMPARE(form->CurrentMode(), Mode::MainMenu);
    QVERIFY(mainMenu->isHidden());
    QCOMPARE(mainMenu->width(), 0);
    QVERIFY(form->control(MainControl::Pages)->isHidden());
    form->setCurrentMode(Mode::LegendQuiz);
    form->ShowMode();
    QCOMPARE(mainMenu->width(), 97);
}

void TestApp::errorCountAndProgress()
{
    TempWorkDir dir;
    writeContent(dir);
    Messages messages;
    WindowSet windows;
    TForm1* form = windows.form();
    auto* count = qobject_cast<QLabel*>(form->control(MainControl::ErrorCount));
    // the label shows the count it is given; the count itself is the round's
    form->SetErrorCount(12);
    QCOMPARE(count->text(), QStringLiteral("12"));
    form->SetErrorCount(5);
    form->setCurrentMode(Mode::MainMenu);
    form->ShowMode();
    // the main menu shows "0"
    QCOMPARE(count->text(), QStringLiteral("0"));
    QCOMPARE(form->ErrorCount(), 0);
    form->SetProgress(3);
    QCOMPARE(form->Progress(), 3);
}

void TestApp::dialogsBuiltAfterFirstPaint()
{
    TempWorkDir dir;
    writeContent(dir, true);
    Messages messages;
    {
        WindowSet windows;
        Screens& s = windows.screens();
        QVERIFY(s.mainWindow && s.helpForm && s.settingsDlg);
        QVERIFY(!s.startDlg.exists() && !s.winnerDialog.exists() && !s.resultsViewer.exists());
        windows.form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(windows.form()));
        QTRY_VERIFY(s.startDlg.exists() && s.winnerDialog.exists() && s.resultsViewer.exists());
    }
    {
        // asked for before the first paint: built at once, with the ones before it
        WindowSet windows;
        Screens& s = windows.screens();
        ResultsViewer* viewer = s.resultsViewer;
        QVERIFY(viewer);
        QVERIFY(s.startDlg.exists() && s.winnerDialog.exists());
        QCOMPARE(s.resultsViewer.get(), viewer);
    }
    QVERIFY(messages.texts.isEmpty());
}

void TestApp::failedDeferredWindowIsForgotten()
{
    DeferredWindow<FakeWindow> slot;
    std::unique_ptr<FakeWindow> owner;
    bool fail = true;
    QVERIFY_THROWS_EXCEPTION(AppError, slot.buildInto(owner, slot, fail));
    QVERIFY(!slot.exists());
    QVERIFY(!owner);
    fail = false;
    slot.buildInto(owner, slot, fail);
    QVERIFY(owner);
    QCOMPARE(slot.get(), owner.get());
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
