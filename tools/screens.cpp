// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the screenshots of the README and docs/screens: the main window's screens as a user meets
// them (the main menu, the walkthrough, the sheet quiz, practice and timed tests, a pause, the end
// of a test), drawn by the program itself on a copy of the ready program folder, with a fixed clock
// and a fixed random source so that every run draws the same.
//
//   quill-screens RUN_DIR OUT_DIR [LANGUAGE_CODE]
//
// Without a language code the built-in selection of the program is used (English); with one
// ("deu", "fra") the module quill.<code> of the folder. The quick quiz's and the progress view's
// screens are saved by their end-to-end tests when QUILL_SCREENSHOT_DIR is set; the printouts'
// pages come from the PDFs of the command line.

#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "content/Language.h"
#include "dialogs/TStartDlg.h"
#include "dialogs/WinnerDialog.h"
#include "game/CellItem.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/TMyDrawGrid.h"
#include "learning/AreaMarker.h"
#include "learning/LegendPage.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

constexpr double Second = 1.0 / 86400.0;

class ScreenTaker
{
public:
    ScreenTaker(const QString& outDir) : m_out(outDir) {}

    bool prepare(const QString& runDir, const QString& language)
    {
        if (!m_work.isValid() || !m_store.isValid() || !QDir().mkpath(m_out))
            return false;
        QDirIterator it(runDir, QDir::Files);
        while (it.hasNext()) {
            it.next();
            const QString name = it.fileName();
            if (name.startsWith(QLatin1String("Results"), Qt::CaseInsensitive) ||
                name.startsWith(QLatin1String("Statistics"), Qt::CaseInsensitive) ||
                name == QLatin1String("quill"))
                continue;
            if (!QFile::copy(it.filePath(), m_work.filePath(name)))
                return false;
        }
        QDir::setCurrent(m_work.path());
        RegistryKey::setStoreDirectory(m_store.path());
        MessageBoxes::setHandler([](MessageBoxes::Kind, const QString& text) {
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
        });
        setClockOverride([this] { return m_now; });
        setRandomOverride([this](int n) { return (m_draw++ * 7 + 3) % n; });
        if (language.isEmpty()) {
            Language::activateBuiltIn();
            return Language::activateModuleFile(m_work.filePath(QStringLiteral("quill.eng")));
        }
        return Language::activateModuleFile(m_work.filePath(QStringLiteral("quill.") + language));
    }

    void takeAll()
    {
        fresh();
        save(m_form, QStringLiteral("main-menu.png"));
        walkthrough();
        fresh();
        sheetQuiz();
        fresh();
        practice(Mode::DescriptionPractice, QStringLiteral("description-practice.png"));
        fresh();
        practice(Mode::CombinationPractice, QStringLiteral("combination-practice.png"));
        fresh();
        practice(Mode::MapSymbolPractice, QStringLiteral("map-symbol-practice.png"));
        fresh();
        timedTest(Mode::DescriptionTest, QStringLiteral("description-test.png"), true);
        fresh();
        timedTest(Mode::CombinationTest, QStringLiteral("combination-test.png"), false);
        fresh();
        timedTest(Mode::MapSymbolTest, QStringLiteral("map-symbol-test.png"), false);
        fresh();
        winnerSummary();
        m_windows.reset();
    }

    int failures() const { return m_failures; }

private:
    void fresh()
    {
        m_windows.reset();
        QFile::remove(RegistryKey::storeFile());
        QFile::remove(m_work.filePath(QStringLiteral("Results.dat")));
        m_draw = 0;
        m_windows = std::make_unique<WindowSet>();
        m_form = m_windows->form();
        m_grid = m_form->grid();
        m_form->show();
        if (!QTest::qWaitForWindowExposed(m_form))
            fail(QStringLiteral("the main window was not shown"));
        // no pointer over a control
        QTest::mouseMove(m_form, QPoint(m_form->width() - 2, m_form->height() - 2));
        settle();
    }

    void settle() { QTest::qWait(30); }

    void save(QWidget* widget, const QString& name)
    {
        settle();
        if (!widget->grab().save(QDir(m_out).filePath(name)))
            fail(QStringLiteral("cannot write ") + name);
        else
            std::printf("%s\n", qPrintable(QDir(m_out).filePath(name)));
    }

    void fail(const QString& what)
    {
        std::fprintf(stderr, "quill-screens: %s\n", qPrintable(what));
        ++m_failures;
    }

    void walkthrough()
    {
        m_form->setCurrentMode(Mode::LegendWalkthrough);
        m_form->ShowMode();
        const QList<int> shots = {1, 3, 8, 17, 29};
        for (int step = 1; step <= shots.last(); ++step) {
            if (shots.contains(step))
                save(m_form, QStringLiteral("walkthrough-step-%1.png").arg(step));
            if (step < shots.last())
                m_form->legend()->next();
        }
    }

    // The sheet quiz after one right and one wrong answer: the score in the title, the wrong
    // area red and the right one framed.
    void sheetQuiz()
    {
        m_form->setCurrentMode(Mode::LegendQuiz);
        m_form->ShowMode();
        LegendPage* page = m_form->legend();
        clickArea(page->AskedItem());
        int wrong = 1;
        while (wrong == page->AskedItem() || wrong == 7 || page->QuizItem(wrong)->Cleared())
            ++wrong;
        clickArea(wrong);
        save(m_form, QStringLiteral("quiz-score.png"));
    }

    void clickArea(int tag)
    {
        AreaMarker* marker = m_form->legend()->AreaByTag(tag);
        QTest::mouseMove(marker, marker->rect().center());
        QTest::mouseClick(marker, Qt::LeftButton, {}, marker->rect().center());
        settle();
    }

    void startTest(quint8 mode, int row)
    {
        TStartDlg* start = m_windows->screens().startDlg;
        QTimer::singleShot(0, start, [start, row] {
            start->list()->setCurrentRow(row);
            start->accept();
        });
        if (Mode::isTimed(mode))
            m_form->pressTesting();
        else
            m_form->pressLearning();
        m_form->setCurrentMode(mode);
        m_form->ShowMode();
        settle();
    }

    QPoint cellCentre(int index) const
    {
        return m_grid->CellBounds(index % m_grid->ColCount(), index / m_grid->ColCount()).center();
    }

    int cellWithText(const QString& text, bool other = false) const
    {
        for (int i = 0; i < m_grid->CellCount(); ++i) {
            const CellItem* item = m_grid->Item(i);
            if (!item->Cleared() && (item->Text == text) != other)
                return i;
        }
        return -1;
    }

    QString target() const
    {
        return qobject_cast<QLabel*>(m_form->control(QStringLiteral("Label1")))->text();
    }

    void press(int index)
    {
        if (index < 0) {
            fail(QStringLiteral("no cell to press"));
            return;
        }
        QTest::mouseClick(m_grid, Qt::LeftButton, {}, cellCentre(index));
    }

    // Practice: the pointer over a cell shows its reading, its picture and, for a whole line, its
    // map excerpt and ground.
    void practice(quint8 mode, const QString& name)
    {
        startTest(mode, 0);
        const int cell = cellWithText(QString(), true);
        if (cell < 0)
            return fail(name + QStringLiteral(": an empty board"));
        QTest::mouseMove(m_grid, cellCentre(cell));
        save(m_form, name);
        m_form->returnToMainMenu();
    }

    // A timed test some seconds in with two targets found; with `wrong`, a wrong press just made
    // (and then the test paused).
    void timedTest(quint8 mode, const QString& name, bool wrong)
    {
        startTest(mode, 0);
        for (int found = 0; found < 2; ++found) {
            m_now += 3.4 * Second;
            m_form->round()->tick();
            press(cellWithText(target()));
        }
        m_now += 2.3 * Second;
        m_form->round()->tick();
        save(m_form, name);
        if (wrong) {
            press(cellWithText(target(), true));
            save(m_form, QStringLiteral("wrong-press.png"));
            QMetaObject::invokeMethod(m_form->control(QStringLiteral("PauseButton")), "clicked");
            save(m_form, QStringLiteral("paused.png"));
            QMetaObject::invokeMethod(m_form->control(QStringLiteral("PauseButton")), "clicked");
        }
        m_form->round()->Timer2().stop();
    }

    // The end of a description test with two symbols missed: the summary before the name is given.
    void winnerSummary()
    {
        startTest(Mode::DescriptionTest, 0);
        WinnerDialog* win = m_windows->screens().winnerDialog;
        int misses = 0;
        bool shown = false;
        for (int presses = 0; m_form->round()->GameState() == GameRound::Running && presses < 200;
             ++presses) {
            m_now += 2.7 * Second;
            m_form->round()->tick();
            const QString asked = target();
            if (misses < 2 && presses % 3 == 1) {
                press(cellWithText(asked, true));
                ++misses;
            }
            if (m_grid->CellCount() - m_grid->ClearedCount() == 1) {
                QTimer::singleShot(0, win, [&] {
                    if (!QTest::qWaitForWindowExposed(win))
                        fail(QStringLiteral("the end of the test was not shown"));
                    save(win, QStringLiteral("winner-summary.png"));
                    shown = true;
                    win->findChild<QLineEdit*>(QStringLiteral("NameEdit"))->setText(QStringLiteral("Mia"));
                    win->findChild<QPushButton*>(QStringLiteral("ConfirmButton"))->click();
                    save(win, QStringLiteral("winner-ranked.png"));
                    win->findChild<QPushButton*>(QStringLiteral("CloseButton"))->click();
                });
            }
            press(cellWithText(asked));
        }
        if (!shown)
            fail(QStringLiteral("the end of the test was not shown"));
    }

    QString m_out;
    QTemporaryDir m_work;
    QTemporaryDir m_store;
    std::unique_ptr<WindowSet> m_windows;
    TForm1* m_form = nullptr;
    TMyDrawGrid* m_grid = nullptr;
    double m_now = 46000.41;
    int m_draw = 0;
    int m_failures = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: quill-screens RUN_DIR OUT_DIR [LANGUAGE_CODE]\n");
        return 2;
    }
    const QString runDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString outDir = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    const QString language = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    WindowSet::registerWidgetClasses();
    ScreenTaker taker(outDir);
    if (!taker.prepare(runDir, language)) {
        std::fprintf(stderr, "quill-screens: cannot prepare a copy of %s\n", argv[1]);
        return 1;
    }
    taker.takeAll();
    return taker.failures() == 0 ? 0 : 1;
}
