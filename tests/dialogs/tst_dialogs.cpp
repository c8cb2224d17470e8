// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store and the dialogs around results and settings, on the real window set.
#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "common/MainControls.h"
#include "common/Stamped.h"
#include "common/TempWorkDir.h"
#include "content/Checksum.h"
#include "content/Language.h"
#include "dialogs/Printing.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsTable.h"
#include "dialogs/ResultsViewer.h"
#include "dialogs/THelpForm.h"
#include "dialogs/TSettingsDlg.h"
#include "dialogs/TStartDlg.h"
#include "dialogs/WinnerDialog.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/TMyDrawGrid.h"
#include "learning/QuizDirection.h"
#include "platform/AppError.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "platform/Registry.h"
#include "results/AnswerStore.h"
#include "results/ResultsFile.h"
#include "results/SettingsStore.h"
#include "session/Session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>

namespace {

const QString MainKey = QString::fromLatin1(SettingsStore::MainKey);
const QString FontKey = QString::fromLatin1(SettingsStore::FontKey);

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void dialogBuiltAloneFromModule();
    void printButtonInFreeSpacePrintsTheChosenTest();

    void firstStartUsesDefaults();
    void storedSettingsComeBack();
    void incompleteSettingsAreIgnored();
    void badStoredValuesAreSkippedOrBroughtIntoRange();
    void displayModeAppliedOnOkOrAfterRestart();
    void languageListAndChange();
    void resultsFolderShownInFreeSpace();
    void winnerDialogRecordsAndRanks();
    void resultsViewerCategories();
    void clearAndTrimCommands();

private:
    WindowSet& start();
    TForm1* form() const { return m_windows->form(); }
    template <typename T> T* child(QWidget* w, const char* name)
    {
        return w->findChild<T*>(QString::fromLatin1(name));
    }

    QTemporaryDir m_store;
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
    QStringList m_messages;
    int m_restarts = 0;
};

void TestDialogs::initTestCase()
{
    Language::activateBuiltIn();
    RegistryKey::setStoreDirectory(m_store.path());
    MessageBoxes::setHandler([this](MessageBoxes::Kind, const QString& text) { m_messages << text; });
    TSettingsDlg::setRestart([this] { ++m_restarts; });
}

void TestDialogs::init()
{
    QFile::remove(RegistryKey::storeFile());
    m_messages.clear();
    m_restarts = 0;
    m_dir = std::make_unique<TempWorkDir>();
    QVERIFY(m_dir->write(QStringLiteral("Bitm1.eng"), stamped("990 Taped route\r\n")));
    QVERIFY(m_dir->write(QStringLiteral("Legends.eng"), stamped("33 Boulder\r\n")));
    QVERIFY(m_dir->write(QStringLiteral("TypesLeg.eng"), "101 Rock\r\n\r\nN33\r\n102 Hills\r\n\r\nN34"));
    QVERIFY(m_dir->write(QStringLiteral("types.eng"), "201 Lines\r\n\r\nN1000"));
    QVERIFY(m_dir->write(QStringLiteral("TypesSym.eng"), "301 Maps\r\n\r\nN101"));
    // description tests are refused without the symbol font
    QVERIFY(m_dir->copyIn(QStringLiteral(QUILL_RUN_DIR "/Pictor07.TTF"), QStringLiteral("Pictor07.TTF")));
    Desktop::setExecutablePathOverride(m_dir->filePath(QStringLiteral("quill")));
}

void TestDialogs::cleanup()
{
    m_windows.reset();
    m_dir.reset();
    Desktop::setExecutablePathOverride({});
}

WindowSet& TestDialogs::start()
{
    m_windows.reset();
    m_windows = std::make_unique<WindowSet>();
    return *m_windows;
}

void TestDialogs::firstStartUsesDefaults()
{
    Screens& s = start().screens();
    QVERIFY(m_messages.isEmpty());
    QVERIFY(!s.settingsDlg->textHelpChecked());
    QVERIFY(!form()->grid()->ShowTextHelp());
    QVERIFY(!form()->grid()->ShowTextOnly());
    QVERIFY(form()->learningSelected());
    // the screens' places, moved only as far as needed to lie wholly on the screen
    QCOMPARE(form()->pos(),
             Desktop::fitOnScreen(QRect(QPoint(213, 114), form()->frameGeometry().size())).topLeft());
    QCOMPARE(s.helpForm->pos(),
             Desktop::fitOnScreen(QRect(QPoint(769, 175), s.helpForm->frameGeometry().size())).topLeft());
    // reading opened both keys: they exist, empty
    QFile store(RegistryKey::storeFile());
    QVERIFY(store.open(QIODevice::ReadOnly));
    const QByteArray text = store.readAll();
    QVERIFY(text.contains("Software/Dovetail/Quillon/2\tkey"));
    QVERIFY(text.contains("Software/Dovetail/Quillon/2/FontText\tkey"));
    QVERIFY(!text.contains("dword"));
}

void TestDialogs::storedSettingsComeBack()
{
    {
        Screens& s = start().screens();
        child<QCheckBox>(s.settingsDlg, "TextHelpBox")->click();
        form()->pressTesting();
        form()->move(30, 20);
        s.helpForm->move(50, 60);
        s.helpForm->resize(250, 300);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(12);
        font.setBold(true);
        font.setItalic(true);
        font.setUnderline(true);
        form()->grid()->SetFontText(font);
        form()->grid()->SetFontTextColor(QColor(10, 20, 30));
        form()->close(); // the close sequence writes the settings
    }
    QVERIFY(m_messages.isEmpty());
    Screens& s = start().screens();
    QVERIFY(s.settingsDlg->textHelpChecked());
    QVERIFY(form()->grid()->ShowTextHelp());
    QVERIFY(!form()->learningSelected()); // "Learn" 0: the topic buttons in the testing colour
    QCOMPARE(form()->pos(), QPoint(30, 20));
    QCOMPARE(s.helpForm->pos(), QPoint(50, 60));
    QCOMPARE(s.helpForm->size(), QSize(250, 300));
    const QFont font = form()->grid()->FontText();
    QCOMPARE(font.family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(font.pointSize(), 12);
    QVERIFY(font.bold());
    QVERIFY(font.italic());
    QVERIFY(!font.underline()); // underline is not stored
    QCOMPARE(form()->grid()->FontTextColor(), QColor(10, 20, 30));
}

void TestDialogs::incompleteSettingsAreIgnored()
{
    {
        RegistryKey key(MainKey);
        key.writeInteger(QStringLiteral("HelpFormLeft"), 10); // its partner is missing
        key.writeInteger(QStringLiteral("MainFormTop"), 10);
        RegistryKey font(FontKey);
        font.writeString(QStringLiteral("Name"), QStringLiteral("DejaVu Serif"));
        font.writeInteger(QStringLiteral("Size"), 20);
        font.writeBool(QStringLiteral("StyleBold"), true);
        font.writeBool(QStringLiteral("StyleItalic"), true); // no "Color": four of five
    }
    Screens& s = start().screens();
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(s.helpForm->pos(),
             Desktop::fitOnScreen(QRect(QPoint(769, 175), s.helpForm->frameGeometry().size())).topLeft());
    QCOMPARE(form()->pos(),
             Desktop::fitOnScreen(QRect(QPoint(213, 114), form()->frameGeometry().size())).topLeft());
    QVERIFY(form()->grid()->FontText().family() != QStringLiteral("DejaVu Serif"));
}

void TestDialogs::badStoredValuesAreSkippedOrBroughtIntoRange()
{
    {
        RegistryKey key(MainKey);
        key.writeBool(QStringLiteral("TextHelp"), true);
        key.writeString(QStringLiteral("Learn"), QStringLiteral("yes"));
        key.writeBool(QStringLiteral("GraphicMode"), false);
        key.writeInteger(QStringLiteral("MainFormLeft"), -5000);
        key.writeInteger(QStringLiteral("MainFormTop"), 90000);
        key.writeInteger(QStringLiteral("HelpFormLeft"), 40000);
        key.writeInteger(QStringLiteral("HelpFormTop"), -300);
        key.writeInteger(QStringLiteral("HelpFormWidth"), 100000);
        key.writeInteger(QStringLiteral("HelpFormHeight"), 0);
        RegistryKey font(FontKey);
        font.writeString(QStringLiteral("Name"), QStringLiteral("DejaVu Serif"));
        font.writeInteger(QStringLiteral("Size"), 10000);
        font.writeDword(QStringLiteral("Color"), 0xFF);
        font.writeString(QStringLiteral("StyleBold"), QStringLiteral("yes"));
        font.writeBool(QStringLiteral("StyleItalic"), true);
    }
    QVERIFY(m_dir->copyIn(QStringLiteral(QUILL_CONTAINER_DIR "/quill.deu"), QStringLiteral("quill.deu")));
    Screens& s = start().screens();
    // the first bad value is named once; every other value is applied
    QCOMPARE(m_messages, QStringList{QStringLiteral("Invalid data type for 'Learn'.\n") +
                                     fileLocation(RegistryKey::storeFile())});
    QVERIFY(form()->grid()->ShowTextHelp());
    QVERIFY(form()->grid()->ShowTextOnly());
    QCOMPARE(s.settingsDlg->languageList()->count(), 1); // the creation went on: the list is built
    const QFont font = form()->grid()->FontText();
    QCOMPARE(font.family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(font.pointSize(), 28);
    QVERIFY(font.italic());
    QCOMPARE(form()->grid()->FontTextColor(), QColor(255, 0, 0));
    // windows stay wholly on the screen, the help window at a size it can be seen at
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(QRect(form()->pos(), form()->frameGeometry().size())));
    QVERIFY(screen.contains(QRect(s.helpForm->pos(), s.helpForm->size())));
    QVERIFY(s.helpForm->height() > 0 && s.helpForm->width() <= screen.width());
}

void TestDialogs::displayModeAppliedOnOkOrAfterRestart()
{
    {
        Screens& s = start().screens();
        TSettingsDlg* dlg = s.settingsDlg;
        child<QRadioButton>(dlg, "TextButton")->click();
        QVERIFY(!form()->grid()->ShowTextOnly()); // no effect before OK
        dlg->show();
        dlg->close(); // the close box skips OK
        QVERIFY(!form()->grid()->ShowTextOnly());
        form()->close();
    }
    Screens& s = start().screens();
    QVERIFY(form()->grid()->ShowTextOnly());
    child<QRadioButton>(s.settingsDlg, "GraphicButton")->click();
    child<QPushButton>(s.settingsDlg, "OkButton")->click();
    QVERIFY(!form()->grid()->ShowTextOnly());
}

void TestDialogs::languageListAndChange()
{
    QVERIFY(m_dir->copyIn(QStringLiteral(QUILL_CONTAINER_DIR "/quill.deu"), QStringLiteral("quill.deu")));
    QVERIFY(m_dir->write(QStringLiteral("quill.eng"), "x"));
    QVERIFY(m_dir->write(QStringLiteral("quill.Eng"), "x"));
    QVERIFY(m_dir->write(QStringLiteral("quill.exe"), "x"));
    QVERIFY(m_dir->write(QStringLiteral("quill"), "x"));
    Screens& s = start().screens();
    QComboBox* list = s.settingsDlg->languageList();
    QStringList names, codes;
    for (int i = 0; i < list->count(); ++i) {
        names << list->itemText(i);
        codes << list->itemData(i).toString();
    }
    // a module is listed by the name it gives its language; one that cannot be read by its code
    QCOMPARE(names, (QStringList{QStringLiteral("Deutsch"), QStringLiteral("Eng"), QStringLiteral("eng")}));
    QCOMPARE(codes, (QStringList{QStringLiteral("deu"), QStringLiteral("Eng"), QStringLiteral("eng")}));
    QCOMPARE(list->currentData().toString(),
             QStringLiteral("eng")); // exactly the current code, letter case too

    // picking a language stores it for this executable and restarts, without the close-time writing
    list->setCurrentIndex(0);
    emit list->activated(0);
    QCOMPARE(m_restarts, 1);
    RegistryKey locales(QString::fromLatin1(SettingsStore::LocalesKey));
    QCOMPARE(locales.readString(m_dir->filePath(QStringLiteral("quill"))), QStringLiteral("deu"));
    QVERIFY(!RegistryKey(MainKey).valueExists(QStringLiteral("TextHelp")));
}

// The settings dialog names the folder of the results in a label of its own, in space that no other
// control takes; a long path wraps at its separators within the label.
void TestDialogs::resultsFolderShownInFreeSpace()
{
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_HOME", dataHome);
        DataFolder::reset();
    });
    qputenv("XDG_DATA_HOME",
            QFile::encodeName(m_dir->filePath(QStringLiteral("home/orienteering-club-7/.local/share"))));
    QVERIFY(m_dir->write(QLatin1String(DataFolder::InstalledMark), "installed\n"));
    DataFolder::choose(m_dir->path());
    QVERIFY(DataFolder::isUserFolder());

    TSettingsDlg* dlg = start().screens().settingsDlg;
    auto* label = child<QLabel>(dlg, "ResultsFolderLabel");
    QVERIFY(label);
    QCOMPARE(label->text(), LoadString(StringId::ResultsFolder) + QLatin1Char('\n') + DataFolder::path());
    QVERIFY(dlg->rect().contains(label->geometry()));
    const QList<QWidget*> controls = dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* control : controls) {
        if (control != label)
            QVERIFY2(!control->geometry().intersects(label->geometry()), qPrintable(control->objectName()));
    }
    // the text laid out as the label lays it out
    QString text = label->text();
    QTextLayout layout(text.replace(QLatin1Char('\n'), QChar::LineSeparator), label->font());
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(wrapping);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        QVERIFY2(line.naturalTextWidth() <= label->contentsRect().width(),
                 qPrintable(text.mid(line.textStart(), line.textLength())));
        height += line.height();
    }
    layout.endLayout();
    QVERIFY(height <= label->contentsRect().height());
}

void TestDialogs::winnerDialogRecordsAndRanks()
{
    Screens& s = start().screens();
    // 14 results of test 101 already stored
    for (int i = 0; i < 14; ++i) {
        TResultRecord r;
        r.PlayerName = QStringLiteral("P%1").arg(i);
        r.TestNumber = 101;
        r.Time = (30 + i) / 86400.0;
        r.Errors = 0;
        AppendResult(r);
    }
    TStartDlg* startDlg = s.startDlg;
    QTimer::singleShot(0, startDlg, [startDlg] { startDlg->accept(); });
    form()->pressTesting();
    form()->setCurrentMode(Mode::DescriptionTest);
    form()->ShowMode();
    QCOMPARE(startDlg->CurrentTestNumber(), 101);
    // the round as the session hands it on: its test, its time and 2 errors
    FinishedRound round;
    round.test = s.session->currentTest();
    round.time = 40 / 86400.0;
    round.errors = 2;

    WinnerDialog* win = s.winnerDialog;
    auto* name = child<QLineEdit>(win, "NameEdit");
    QCOMPARE(name->text(), QStringLiteral("My Name"));
    QTimer::singleShot(0, win, [&] {
        QCOMPARE(child<QLabel>(win, "ErrorsLabel")->text(), QStringLiteral("Errors 2"));
        QVERIFY(!win->showsTable());
        // an empty name is refused: nothing is recorded, the name is asked again
        name->setText(QStringLiteral("  "));
        child<QPushButton>(win, "ConfirmButton")->click();
        QCOMPARE(m_messages, QStringList{LoadString(StringId::EmptyNameRefused)});
        QVERIFY(!win->showsTable());
        QVERIFY(!name->isReadOnly());
        // a name whose letters the results file has no room for is refused, naming them
        name->setText(QStringLiteral("Νικόλαος Παπαδόπουλος"));
        child<QPushButton>(win, "ConfirmButton")->click();
        QCOMPARE(m_messages.size(), 2);
        QVERIFY2(m_messages.last().contains(QStringLiteral("Ν, ι, κ, ό")), qPrintable(m_messages.last()));
        QVERIFY(!win->showsTable());
        // a name of another alphabet that fits is kept exactly
        name->setText(QStringLiteral("Dvořák"));
        child<QPushButton>(win, "ConfirmButton")->click();
        QVERIFY(win->showsTable());
        QVERIFY(name->isReadOnly());
        QCOMPARE(win->table()->rowCount(), 16); // header and 15 results
        // the new result, worst by its errors, is last and highlighted
        QCOMPARE(win->table()->cellText(15, 1), QStringLiteral("Dvořák"));
        QCOMPARE(win->table()->cellText(15, 3), QStringLiteral("2"));
        QCOMPARE(win->table()->highlightedRow(), 15);
        child<QPushButton>(win, "CloseButton")->click();
    });
    win->present(round);
    QCOMPARE(form()->CurrentMode(), Mode::MainMenu);
    ResultsGrid table;
    LoadTestResults(101, &table, TResultRecord());
    QCOMPARE(ResultsTable().size(), 15);
    QCOMPARE(ResultsTable().last().PlayerName, QStringLiteral("Dvořák"));

    // the next showing proposes the name confirmed before
    name->setText(QStringLiteral("Anna"));
    QTimer::singleShot(0, win, [&] {
        child<QPushButton>(win, "ConfirmButton")->click();
        child<QPushButton>(win, "CloseButton")->click();
    });
    win->present(round);
    QTimer::singleShot(0, win, [&] {
        QCOMPARE(name->text(), QStringLiteral("Anna"));
        QVERIFY(!name->isReadOnly());
        win->reject();
    });
    win->present(round);
}

void TestDialogs::resultsViewerCategories()
{
    Screens& s = start().screens();
    ResultsViewer* viewer = s.resultsViewer;
    TResultRecord r;
    r.PlayerName = QStringLiteral("Ola");
    r.TestNumber = 301;
    AppendResult(r);
    TResultRecord quiz;
    quiz.PlayerName = QStringLiteral("Quick");
    quiz.TestNumber = QuizDirection::ofKind(SymbolKind::Description).first().testNumber();
    AppendResult(quiz);
    QTimer::singleShot(0, viewer, [&] {
        QCOMPARE(viewer->categories()->count(), 3);
        QCOMPARE(viewer->categories()->currentIndex(), 0);
        QCOMPARE(viewer->tests()->currentText(), QStringLiteral(" Maps"));
        QCOMPARE(viewer->table()->cellText(1, 1), QStringLiteral("Ola"));
        // picking a category empties the table until a test is picked
        viewer->categories()->setCurrentIndex(1);
        emit viewer->categories()->activated(1);
        // the catalogue's two tests, the quick quizzes of description symbols of each length and the
        // weak-symbol drill
        QCOMPARE(viewer->tests()->count(),
                 2 + QuizDirection::ofKind(SymbolKind::Description).size() * QuizDirection::Lengths.size() +
                     1);
        QCOMPARE(viewer->tests()->currentIndex(), -1);
        QCOMPARE(viewer->table()->cellText(1, 1), QString());
        QVERIFY(viewer->table()->selectionModel()->selectedIndexes().isEmpty());
        viewer->tests()->setCurrentIndex(2);
        emit viewer->tests()->activated(2);
        QCOMPARE(viewer->table()->cellText(1, 1), QStringLiteral("Quick"));
        viewer->tests()->setCurrentIndex(1);
        emit viewer->tests()->activated(1);
        QCOMPARE(viewer->table()->cellText(1, 1), QString()); // test 102 has no results
        // the export for a coach, its button beside the OK button, which stays where it was
        QVERIFY(!viewer->exportButton()->geometry().intersects(
            viewer->findChild<QPushButton*>(QStringLiteral("OkButton"))->geometry()));
        const QString xlsx = m_dir->filePath(QStringLiteral("coach.xlsx"));
        QVERIFY(viewer->exportTo(xlsx));
        QVERIFY(!m_messages.isEmpty() &&
                m_messages.takeLast().startsWith(QStringLiteral("2 results written to ") + xlsx));
        QVERIFY(QFile(xlsx).size() > 0);
        viewer->accept();
    });
    viewer->exec();

    // without the map-symbol topic the first category goes, for the rest of the run
    form()->control(MainControl::MapSymbolTopic)->hide();
    QTimer::singleShot(0, viewer, [&] {
        QCOMPARE(viewer->categories()->count(), 2);
        QCOMPARE(viewer->categories()->itemText(0), QStringLiteral("Controls"));
        QCOMPARE(viewer->tests()->itemText(0), QStringLiteral(" Rock"));
        viewer->categories()->setCurrentIndex(1);
        emit viewer->categories()->activated(1);
        QCOMPARE(viewer->tests()->itemText(0), QStringLiteral(" Lines"));
        viewer->accept();
    });
    viewer->exec();
}

void TestDialogs::clearAndTrimCommands()
{
    Screens& s = start().screens();
    QStringList questions;
    bool answer = false;
    MessageBoxes::setConfirmHandler([&](const QString& text) {
        questions << text;
        return answer;
    });
    const auto cleanUp = qScopeGuard([] { MessageBoxes::setConfirmHandler({}); });
    child<QPushButton>(s.settingsDlg, "ClearButton")->click(); // no file: nothing to ask
    QVERIFY(m_messages.isEmpty() && questions.isEmpty());
    for (int i = 0; i < 25; ++i) {
        TResultRecord r;
        r.TestNumber = 7;
        r.Errors = i;
        AppendResult(r);
    }
    const QString results = m_dir->filePath(QStringLiteral("Results.dat"));
    const auto bytes = [&results] {
        QFile file(results);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytes();

    // declined: the results stay byte for byte
    child<QPushButton>(s.settingsDlg, "ClearButton")->click();
    child<QPushButton>(s.settingsDlg, "TrimButton")->click();
    QCOMPARE(questions, QStringList({LoadString(StringId::ClearAllQuestion),
                                     LoadString(StringId::TrimQuestion).arg(5)}));
    QCOMPARE(bytes(), before);
    QVERIFY(m_messages.isEmpty());

    // agreed: each says what it did
    answer = true;
    child<QPushButton>(s.settingsDlg, "TrimButton")->click();
    ResultsGrid table;
    QCOMPARE(LoadTestResults(7, &table, TResultRecord()), 20);
    child<QPushButton>(s.settingsDlg, "TrimButton")->click(); // nothing left to remove, nothing asked
    child<QPushButton>(s.settingsDlg, "ClearButton")->click();
    QVERIFY(!QFile::exists(results));
    QCOMPARE(m_messages,
             QStringList({LoadString(StringId::TrimDone).arg(5), LoadString(StringId::TrimNothing),
                          LoadString(StringId::ClearAllDone)}));
    QCOMPARE(questions.size(), 4);
}

QTEST_MAIN(TestDialogs)
// A main window that is no window: what a dialog needs of it, and nothing else.
class FakeMainWindow : public MainWindow
{
public:
    quint8 CurrentMode() const override { return mode; }
    void setCurrentMode(quint8 m) override { mode = m; }
    void ShowMode() override { ++shown; }
    void returnToMainMenu() override
    {
        mode = Mode::MainMenu;
        ShowMode();
    }
    TMyDrawGrid* grid() const override { return nullptr; }
    GameRound* gameRound() const override { return nullptr; }
    void startRound() override {}
    bool learningSelected() const override { return false; }
    void selectLearning(bool) override {}
    bool mapSymbolTopicVisible() const override { return true; }
    QPoint windowPosition() const override { return {}; }
    QSize windowFrameSize() const override { return {}; }
    void moveWindow(QPoint) override {}

    quint8 mode = Mode::DescriptionTest;
    int shown = 0;
};

// One dialog is built without the other windows, from a language module's screen whose root
// names the screen ("TWinDlg"), not the C++ class.
void TestDialogs::dialogBuiltAloneFromModule()
{
    QVERIFY(Language::activateModuleFile(QStringLiteral(QUILL_CONTAINER_DIR "/quill.deu")));
    const auto builtIn = qScopeGuard([] { Language::activateBuiltIn(); });
    WindowSet::registerWidgetClasses();
    FakeMainWindow main;
    Session session(main, nullptr);
    WinnerDialog dialog(session);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Gratulation"));
    QTimer::singleShot(0, &dialog, [&] {
        QVERIFY(child<QLabel>(&dialog, "TimeLabel")->text().endsWith(QStringLiteral("1:15")));
        child<QPushButton>(&dialog, "CloseButton")->click();
    });
    dialog.present({75.0 / 86400.0, 3, {}, {}});
    QCOMPARE(main.mode, Mode::MainMenu);
    QCOMPARE(main.shown, 1);
}

// "Print..." stands in space no control of the test selection takes, which keep their places; it
// prints the chosen test of the list, through the printer the user chooses, into a PDF written by
// the program; a test that cannot be printed is named in the error box, the drill cannot be printed.
void TestDialogs::printButtonInFreeSpacePrintsTheChosenTest()
{
    FakeMainWindow main;
    Session session(main, nullptr);
    TStartDlg dialog(session);
    dialog.show();
    QPushButton* print = dialog.printButton();
    QCOMPARE(print->text(), LoadString(StringId::PrintButton));
    QVERIFY(dialog.rect().contains(print->geometry()));
    for (const QWidget* control : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control != print)
            QVERIFY2(!control->geometry().intersects(print->geometry()), qPrintable(control->objectName()));
    }
    QCOMPARE(child<QListWidget>(&dialog, "ListBox1")->geometry(), QRect(8, 32, 465, 281));
    QCOMPARE(child<QPushButton>(&dialog, "Button1")->geometry(), QRect(488, 30, 75, 25));
    QCOMPARE(child<QPushButton>(&dialog, "Button2")->geometry(), QRect(488, 60, 75, 25));

    QStringList printed;
    const QString pdf = m_dir->filePath(QStringLiteral("quiz.pdf"));
    Printing::setPrinterChooser([&](QPrinter& printer) {
        printed << printer.docName();
        printer.setOutputFileName(pdf);
        return true;
    });
    const auto restore = qScopeGuard([] { Printing::setPrinterChooser({}); });
    QAction* quiz = dialog.printMenu()->actions().first();
    dialog.list()->setCurrentRow(0);
    quiz->trigger();
    QCOMPARE(printed, QStringList{QStringLiteral("Test 101: Rock")});
    QVERIFY(QFileInfo(pdf).size() > 0);
    QVERIFY(m_messages.isEmpty());

    // test 102 asks symbol 34, which Legends.eng does not name
    dialog.list()->setCurrentRow(1);
    quiz->trigger();
    QCOMPARE(printed.size(), 1);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.first().contains(m_dir->filePath(QStringLiteral("Legends.eng"))),
             qPrintable(m_messages.first()));

    // the drill, the list's last entry, has no quiz on paper
    dialog.list()->setCurrentRow(dialog.list()->count() - 1);
    emit dialog.printMenu()->aboutToShow();
    QVERIFY(!quiz->isEnabled());
    dialog.list()->setCurrentRow(0);
    emit dialog.printMenu()->aboutToShow();
    QVERIFY(quiz->isEnabled());
}

#include "tst_dialogs.moc"
