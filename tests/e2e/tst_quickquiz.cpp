// SPDX-License-Identifier: GPL-3.0-or-later
// The quick quiz on the shipped content: every direction asks each of its symbols with four
// different answers, one of them right, the others look-alikes where the content has them; a quiz
// played with the keys alone records one result and its answers; a wrong answer is shown on every
// direction. With QUILL_SCREENSHOT_DIR set, the quiz's screens are saved there as PNG.
#include "app/TForm1.h"
#include "app/WindowSet.h"
#include "common/Screenshot.h"
#include "common/StoreRows.h"
#include "common/TempWorkDir.h"
#include "content/Language.h"
#include "dialogs/QuickQuizDialog.h"
#include "dialogs/ResultsGrid.h"
#include "dialogs/ResultsViewer.h"
#include "dialogs/WinnerDialog.h"
#include "game/Modes.h"
#include "learning/QuizContent.h"
#include "learning/QuizPictures.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"
#include "platform/Registry.h"
#include "results/AnswerStore.h"
#include "results/ResultsFile.h"
#include "widgets/QuizChoice.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>
#include <QStackedWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {

constexpr double Second = 1.0 / 86400.0;
constexpr int Choices = QuickQuestion::ChoiceCount;
const QString Special = QStringLiteral("special");

// The content's sources, read here on their own: the column of each description symbol, the group
// of each map symbol and the cells (C to H) of each whole line.
struct Sources
{
    QHash<qint32, QString> column;
    QHash<qint32, QString> group;
    QHash<qint32, QStringList> cells;
};

QList<QStringList> tableRows(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> rows;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            rows.append(QString::fromUtf8(line).split(QLatin1Char('\t')));
    }
    if (!rows.isEmpty())
        rows.removeFirst(); // the header
    return rows;
}

Sources readSources()
{
    Sources s;
    const QString data = QStringLiteral(QUILL_SOURCE_DIR "/data/");
    for (const QStringList& row : tableRows(data + QStringLiteral("symbols/codes.tsv")))
        s.column.insert(row[0].toInt(), row[3]);
    for (const QStringList& row : tableRows(data + QStringLiteral("maps/symbols.tsv")))
        s.group.insert(row[0].toInt(), row[2]);
    for (const QStringList& row : tableRows(data + QStringLiteral("lines/lines.tsv")))
        s.cells.insert(row[0].toInt(), row.mid(1, 6));
    return s;
}

bool sameText(const QString& a, const QString& b)
{
    return QString::compare(a.simplified(), b.simplified(), Qt::CaseInsensitive) == 0;
}

} // namespace

class TestQuickQuiz : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyDirectionAsksFourAnswersOneRightAmongLookAlikes_data();
    void everyDirectionAsksFourAnswersOneRightAmongLookAlikes();
    void quizPlayedWithKeysAloneRecordsOneResult();
    void quizzesOfEachLengthRankApart();
    void wrongAnswerIsShownOnEveryDirection_data();
    void wrongAnswerIsShownOnEveryDirection();

private:
    void checkQuestion(const QuizContent& content, const QuickQuestion& q);
    QuickQuizDialog* openQuiz();

    QTemporaryDir m_store;
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
    Sources m_sources;
    double m_now = 45600.40;
    int m_draw = 0;
    QStringList m_messages;
};

void TestQuickQuiz::initTestCase()
{
    RegistryKey::setStoreDirectory(m_store.path());
    MessageBoxes::setHandler([this](MessageBoxes::Kind, const QString& text) { m_messages << text; });
    m_sources = readSources();
    QVERIFY(!m_sources.column.isEmpty() && !m_sources.group.isEmpty() && !m_sources.cells.isEmpty());
}

void TestQuickQuiz::init()
{
    Language::activateBuiltIn();
    QFile::remove(RegistryKey::storeFile());
    m_messages.clear();
    m_draw = 0;
    m_now = 45600.40;
    setRandomOverride([this](int n) { return (m_draw++ * 7 + 3) % n; });
    setClockOverride([this] { return m_now; });
    m_dir = std::make_unique<TempWorkDir>();
    QVERIFY(m_dir->copyProgramFolder());
}

void TestQuickQuiz::cleanup()
{
    m_windows.reset();
    m_dir.reset();
    setRandomOverride({});
    setClockOverride({});
    Language::activateBuiltIn();
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
}

QuickQuizDialog* TestQuickQuiz::openQuiz()
{
    m_windows = std::make_unique<WindowSet>();
    m_windows->form()->show();
    QuickQuizDialog* dialog = m_windows->screens().quickQuiz;
    dialog->show();
    return dialog;
}

void TestQuickQuiz::everyDirectionAsksFourAnswersOneRightAmongLookAlikes_data()
{
    QTest::addColumn<QString>("module");
    QTest::newRow("English") << QString();
    QTest::newRow("German") << QStringLiteral("quill.deu");
    QTest::newRow("French") << QStringLiteral("quill.fra");
}

void TestQuickQuiz::everyDirectionAsksFourAnswersOneRightAmongLookAlikes()
{
    QFETCH(QString, module);
    if (!module.isEmpty())
        QVERIFY(Language::activateModuleFile(m_dir->filePath(module)));
    const QuizContent content = QuizContent::load(nullptr);
    const SymbolRelations& relations = content.relations();
    const QuizMaker maker(content);
    for (const QuizDirection& d : QuizDirection::all()) {
        // every symbol with what the direction needs is asked: a name, a partner, the line's cells
        qsizetype askable = 0;
        for (const qint32 value : content.symbols(d.kind)) {
            if (d.kind != d.answerKind)
                askable += (d.kind == SymbolKind::MapSymbol ? relations.describedBy(value)
                                                            : relations.describes(value))
                                   .isEmpty()
                               ? 0
                               : 1;
            else
                askable += content.name(d.kind, value).isEmpty() ? 0 : 1;
        }
        const QList<qint32> subjects = maker.subjects(d);
        QVERIFY2(
            askable > 20 && subjects.size() == askable,
            qPrintable(QStringLiteral("%1: %2 of %3").arg(d.testName()).arg(subjects.size()).arg(askable)));
        QVERIFY(d.testName().size() <= TResultRecord::MaxNameLength);
        for (const qint32 subject : subjects) {
            const std::optional<QuickQuestion> q = maker.question(d, subject);
            QVERIFY(q);
            checkQuestion(content, *q);
            if (QTest::currentTestFailed())
                return;
        }
    }
}

// Four different answers, exactly one right (judged from the content's sources where they tell),
// as many look-alikes among the others as the content offers up to three, every picture there.
void TestQuickQuiz::checkQuestion(const QuizContent& content, const QuickQuestion& q)
{
    const QuizDirection& d = q.direction;
    const SymbolRelations& relations = content.relations();
    const qint32 right = q.choices[size_t(q.right)];
    const QString where = QStringLiteral("%1, symbol %2").arg(d.testName()).arg(q.subject);
    const QList<qint32> choices(q.choices.begin(), q.choices.end());
    QCOMPARE(QSet<qint32>(choices.begin(), choices.end()).size(), Choices);

    const auto linked = [&](qint32 answer) {
        return d.kind == SymbolKind::MapSymbol ? relations.describedBy(q.subject).contains(answer)
                                               : relations.describes(q.subject).contains(answer);
    };
    const auto lineCells = [&](qint32 line) { return m_sources.cells.value(line); };
    // what a map excerpt (C, D) or a ground sketch (C, D, G) shows of a line
    const auto looksOtherThanSubject = [&](qint32 line) {
        const QStringList a = lineCells(q.subject);
        const QStringList b = lineCells(line);
        const bool featureDiffers = a[0] != b[0] || a[1] != b[1];
        return d.question == QuizFace::GroundSketch ? featureDiffers || a[4] != b[4] : featureDiffers;
    };
    int rightCount = 0;
    QSet<QString> names;
    for (int i = 0; i < Choices; ++i) {
        const qint32 c = q.choices[size_t(i)];
        bool isRight = false;
        if (d.kind != d.answerKind) {
            isRight = linked(c);
        } else if (d.answer == QuizFace::Text) {
            isRight = sameText(content.name(d.kind, c), content.name(d.kind, q.subject));
            names.insert(content.name(d.kind, c).simplified().toLower());
        } else if (d.question == QuizFace::MapExcerpt || d.question == QuizFace::GroundSketch) {
            isRight = !looksOtherThanSubject(c);
        } else {
            isRight = c == q.subject;
        }
        if (isRight) {
            ++rightCount;
            QVERIFY2(i == q.right, qPrintable(where));
            QCOMPARE(q.storedAs[size_t(i)], q.subject);
        } else if (d.kind == d.answerKind) {
            QCOMPARE(q.storedAs[size_t(i)], c);
        } else {
            // the partner of a wrong answer, as the store keeps it, is a symbol of the question's kind
            const qint32 stored = q.storedAs[size_t(i)];
            QVERIFY2(stored == AnswerStore::NoPress ||
                         (content.contains(d.kind, stored) && stored != q.subject &&
                          (d.kind == SymbolKind::MapSymbol ? relations.describedBy(stored).contains(c)
                                                           : relations.describes(stored).contains(c))),
                     qPrintable(where));
        }
    }
    QVERIFY2(rightCount == 1, qPrintable(where));
    if (d.answer == QuizFace::Text)
        QVERIFY2(names.size() == Choices, qPrintable(where));

    // the look-alikes the content has for the right answer
    const auto alike = [&](qint32 c) {
        switch (d.answerKind) {
        case SymbolKind::Description: {
            if (d.kind == SymbolKind::MapSymbol) {
                const QList<qint32> described = relations.describes(c);
                return std::any_of(described.begin(), described.end(), [&](qint32 isom) {
                    return m_sources.group.value(isom) == m_sources.group.value(q.subject);
                });
            }
            const auto column = [&](qint32 code) {
                return code >= 990 ? Special : m_sources.column.value(code);
            };
            return column(c) == column(right);
        }
        case SymbolKind::MapSymbol: {
            if (m_sources.group.value(c) == m_sources.group.value(right))
                return true;
            const QList<qint32> byRight = relations.describedBy(right);
            const QList<qint32> byC = relations.describedBy(c);
            return std::any_of(byRight.begin(), byRight.end(),
                               [&](qint32 code) { return byC.contains(code); });
        }
        default: {
            const QStringList a = lineCells(right);
            const QStringList b = lineCells(c);
            int others = 0;
            for (int column = 0; column < a.size(); ++column)
                others += column != 1 && !a[column].isEmpty() && a[column] == b[column] ? 1 : 0;
            return (!a[1].isEmpty() && a[1] == b[1]) || others >= 2;
        }
        }
    };
    qsizetype available = 0;
    for (const qint32 c : content.symbols(d.answerKind)) {
        const bool offerable = c != right && (d.kind == d.answerKind || !linked(c)) &&
                               (d.answer != QuizFace::Text || !content.name(d.answerKind, c).isEmpty()) &&
                               (d.answerKind != SymbolKind::Line || d.question == QuizFace::Picture ||
                                d.question == QuizFace::Text || looksOtherThanSubject(c));
        available += offerable && alike(c) ? 1 : 0;
    }
    const qsizetype chosen =
        std::count_if(choices.begin(), choices.end(), [&](qint32 c) { return c != right && alike(c); });
    QVERIFY2(chosen == std::min<qsizetype>(Choices - 1, available),
             qPrintable(QStringLiteral("%1: %2 look-alikes of %3").arg(where).arg(chosen).arg(available)));

    // every picture of the library that the question shows is there
    static QSet<QString> seen;
    const QuizPictures pictures{QFont()};
    const auto pictureThere = [&](SymbolKind kind, qint32 value, QuizFace face) {
        const QString key = QStringLiteral("%1/%2/%3").arg(toInt(kind)).arg(value).arg(int(face));
        if (face == QuizFace::Text || seen.contains(key))
            return true;
        seen.insert(key);
        return !pictures.picture(kind, value, face).isNull();
    };
    QVERIFY2(pictureThere(d.kind, q.subject, d.question), qPrintable(where));
    for (const qint32 c : choices)
        QVERIFY2(pictureThere(d.answerKind, c, d.answer), qPrintable(where));
}

void TestQuickQuiz::quizPlayedWithKeysAloneRecordsOneResult()
{
    QuickQuizDialog* dialog = openQuiz();
    constexpr int Length = 10;
    constexpr int Countdown = 5;
    dialog->choose(SymbolKind::Description, 0, Length, Countdown);
    QTest::keyClick(dialog, Qt::Key_Return);
    QuickQuiz& quiz = dialog->quiz();
    QCOMPARE(quiz.state(), QuickQuiz::State::Asking);
    QCOMPARE(quiz.count(), Length);
    const QuizDirection direction = quiz.current().direction;
    WinnerDialog* win = m_windows->screens().winnerDialog;
    qint64 expectedMs = 0;
    int expectedErrors = 0;
    for (int i = 0; i < Length; ++i) {
        const QuickQuestion q = quiz.current();
        int key = 0;
        switch (i % 3) {
        case 0: // right after two seconds
            m_now += 2 * Second;
            key = Qt::Key_1 + q.right;
            expectedMs += 2000;
            break;
        case 1: // wrong after three seconds
            m_now += 3 * Second;
            key = Qt::Key_1 + (q.right + 1) % Choices;
            expectedMs += 3000;
            ++expectedErrors;
            break;
        default: // no key: the countdown runs out, and only its five seconds count
            m_now += 7 * Second;
            expectedMs += Countdown * 1000;
            ++expectedErrors;
            break;
        }
        if (key != 0)
            QTest::keyClick(dialog, Qt::Key(key));
        QTRY_COMPARE(quiz.state(), QuickQuiz::State::Judged);
        // a key pressed while the judgement shows answers nothing
        QTest::keyClick(dialog, Qt::Key_1);
        QCOMPARE(quiz.answers().size(), i + 1);
        // nor does the time the judgement shows count
        m_now += 30 * Second;
        if (i == Length - 1) {
            // the winner dialog: the name it proposes, then its close button, both by Return
            QTimer::singleShot(0, win, [win] {
                QTest::keyClick(win, Qt::Key_Return);
                QTest::keyClick(win, Qt::Key_Return);
            });
        }
        QTest::keyClick(dialog, Qt::Key_Space);
    }
    QVERIFY(!win->isVisible());
    QCOMPARE(quiz.state(), QuickQuiz::State::Finished);
    QCOMPARE(dialog->pages()->currentWidget()->objectName(), QStringLiteral("SummaryPage"));
    // every missed question again, with its right answer
    const QString summary = dialog->missedView()->toPlainText();
    QCOMPARE(summary.count(LoadString(StringId::QuizRightAnswer).arg(QString())), expectedErrors);
    QCOMPARE(summary.count(LoadString(StringId::QuizNoAnswer)), 3);
    saveScreenshot(dialog, QStringLiteral("quick-quiz-summary.png"));

    QCOMPARE(LoadRankedResults(direction.testNumber()), 1);
    const TResultRecord& result = ResultsTable().first();
    QCOMPARE(result.TestName, direction.testName());
    QCOMPARE(result.Errors, expectedErrors);
    QCOMPARE(qRound64(result.Time * 86400000.0), expectedMs);
    // the results viewer opens on the quiz just played
    ResultsViewer* viewer = m_windows->screens().resultsViewer;
    QString shownTest;
    int highlighted = 0;
    QTimer::singleShot(0, viewer, [&] {
        shownTest = viewer->tests()->currentText();
        highlighted = viewer->table()->highlightedRow();
        viewer->accept();
    });
    viewer->exec();
    QCOMPARE(shownTest.trimmed(), LoadString(StringId::QuizLengthName).arg(direction.testName()).arg(Length));
    QCOMPARE(highlighted, 1); // the quiz's result, as the winner dialog showed it

    // the answers in the store: a missed question names no confusion
    const QString store = m_dir->filePath(AnswerStore::fileName());
    QCOMPARE(storeRows(store,
                       QStringLiteral("SELECT mode, kind, test_number, presses, errors, finished, elapsed_ms "
                                      "FROM rounds")),
             (QList<QVariantList>{{Mode::QuickQuiz, toInt(SymbolKind::Description), direction.testNumber(),
                                   Length, expectedErrors, 1, expectedMs}}));
    QCOMPARE(
        storeRows(store, QStringLiteral("SELECT count(*) FROM answers WHERE pressed = -1")).first().first(),
        3);
    QCOMPARE(storeRows(store, QStringLiteral("SELECT sum(count) FROM confusions")).first().first(), 3);

    // Escape leaves a quiz: the answers so far are kept as a round left, no result is recorded
    QTest::keyClick(dialog, Qt::Key_Return);
    QCOMPARE(quiz.state(), QuickQuiz::State::Asking);
    QTest::keyClick(dialog, Qt::Key_1);
    QTest::keyClick(dialog, Qt::Key_Escape);
    QCOMPARE(dialog->pages()->currentWidget()->objectName(), QStringLiteral("SetupPage"));
    QCOMPARE(storeRows(store, QStringLiteral("SELECT presses, finished FROM rounds ORDER BY id")).last(),
             (QVariantList{1, 0}));
    QCOMPARE(LoadRankedResults(direction.testNumber()), 1);
}

// A quiz of 10 questions and one of 40 are different tests: 2 of 10 right never ranks against 7 of
// 40 right. A quiz of 10 keeps the direction's own number, which results stored before hold.
void TestQuickQuiz::quizzesOfEachLengthRankApart()
{
    QuickQuizDialog* dialog = openQuiz();
    WinnerDialog* win = m_windows->screens().winnerDialog;
    QuickQuiz& quiz = dialog->quiz();
    const auto play = [&](int length, int right) {
        dialog->choose(SymbolKind::Description, 0, length, 0);
        QVERIFY(dialog->start());
        QCOMPARE(quiz.count(), length);
        for (int i = 0; i < length; ++i) {
            const QuickQuestion q = quiz.current();
            m_now += Second;
            QTest::keyClick(dialog, Qt::Key(Qt::Key_1 + (i < right ? q.right : (q.right + 1) % Choices)));
            QTRY_COMPARE(quiz.state(), QuickQuiz::State::Judged);
            if (i == length - 1) {
                QTimer::singleShot(0, win, [win] {
                    QTest::keyClick(win, Qt::Key_Return);
                    QTest::keyClick(win, Qt::Key_Return);
                });
            }
            QTest::keyClick(dialog, Qt::Key_Space);
        }
        QCOMPARE(quiz.state(), QuickQuiz::State::Finished);
    };
    play(10, 2);
    play(40, 7);
    QList<TResultRecord> stored;
    forEachStoredResult(m_dir->filePath(QLatin1String(ResultsFileBareName)),
                        [&](const TResultRecord& r) { stored << r; });
    QCOMPARE(stored.size(), 2);
    QCOMPARE(stored[0].Errors, 8);
    QCOMPARE(stored[1].Errors, 33);
    const QuizDirection direction = QuizDirection::ofKind(SymbolKind::Description).first();
    QCOMPARE(stored[0].TestNumber, direction.testNumber());
    QVERIFY(stored[1].TestNumber != stored[0].TestNumber);
    // the viewer opens on the quiz of 40 just played: its name says so, its ranking has it alone
    ResultsViewer* viewer = m_windows->screens().resultsViewer;
    QString shownTest;
    QStringList names;
    QTimer::singleShot(0, viewer, [&] {
        shownTest = viewer->tests()->currentText();
        for (int row = 1; row < viewer->table()->rowCount(); ++row)
            names << viewer->table()->cellText(row, 3);
        viewer->accept();
    });
    viewer->exec();
    QVERIFY2(shownTest.contains(QLatin1String("40")), qPrintable(shownTest));
    QCOMPARE(names.filter(QRegularExpression(QStringLiteral("\\d"))), QStringList{QStringLiteral("33")});
}

void TestQuickQuiz::wrongAnswerIsShownOnEveryDirection_data()
{
    everyDirectionAsksFourAnswersOneRightAmongLookAlikes_data();
}

void TestQuickQuiz::wrongAnswerIsShownOnEveryDirection()
{
    QFETCH(QString, module);
    // the screens of other languages go into a folder of their own, as the program's others
    QString folder;
    if (!module.isEmpty()) {
        QVERIFY(Language::activateModuleFile(m_dir->filePath(module)));
        folder = LanguageCode() + QLatin1Char('/');
    }
    QuickQuizDialog* dialog = openQuiz();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    dialog->choose(SymbolKind::Description, 0, 20, 10);
    saveScreenshot(dialog, folder + QStringLiteral("quick-quiz-setup.png"));
    const QStringList names = {QStringLiteral("description-symbol-to-name"),
                               QStringLiteral("description-name-to-symbol"),
                               QStringLiteral("description-symbol-to-map"),
                               QStringLiteral("line-to-reading"),
                               QStringLiteral("reading-to-line"),
                               QStringLiteral("map-excerpt-to-line"),
                               QStringLiteral("ground-sketch-to-line"),
                               QStringLiteral("map-symbol-to-name"),
                               QStringLiteral("map-name-to-symbol"),
                               QStringLiteral("map-symbol-to-description")};
    const QuizContent content = QuizContent::load(nullptr);
    auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("CountdownBar"));
    auto* feedback = dialog->findChild<QLabel*>(QStringLiteral("FeedbackLabel"));
    for (const QuizDirection& d : QuizDirection::all()) {
        dialog->choose(d.kind, d.index, 10, 10);
        QVERIFY(dialog->start());
        const QuickQuestion q = dialog->quiz().current();
        QCOMPARE(q.direction.testNumber(), d.testNumber());
        // four seconds of ten gone: the bar shows the six left
        m_now += 4 * Second;
        QTRY_COMPARE(bar->value(), 600);
        const int wrong = (q.right + 2) % Choices;
        QTest::keyClick(dialog, Qt::Key(Qt::Key_1 + wrong));
        for (int i = 0; i < Choices; ++i) {
            const QuizChoice::Mark mark = i == wrong     ? QuizChoice::Mark::Wrong
                                          : i == q.right ? QuizChoice::Mark::Answer
                                                         : QuizChoice::Mark::None;
            QCOMPARE(dialog->choice(i)->mark(), mark);
            QVERIFY(!dialog->choice(i)->isEnabled());
            QVERIFY(d.answer == QuizFace::Text ? !dialog->choice(i)->text().isEmpty()
                                               : !dialog->choice(i)->picture().isNull());
        }
        // the verdict, the right answer's name and why: for a pair of map and description symbols
        // the map symbol's explanation says it
        const qint32 right = q.choices[size_t(q.right)];
        const bool mapExplains = d.answerKind == SymbolKind::MapSymbol && d.kind != d.answerKind;
        const QString explanation =
            mapExplains ? content.explanation(d.answerKind, right) : content.explanation(d.kind, q.subject);
        QVERIFY(!explanation.isEmpty());
        for (const QString& part :
             {LoadString(StringId::QuizWrong), content.name(d.answerKind, right), explanation})
            QVERIFY2(feedback->text().contains(part.toHtmlEscaped()), qPrintable(feedback->text()));
        saveScreenshot(dialog, folder + QStringLiteral("quick-quiz-%1.png").arg(names[d.textOffset()]));
        QTest::keyClick(dialog, Qt::Key_Escape);
    }
}

QTEST_MAIN(TestQuickQuiz)
#include "tst_quickquiz.moc"
