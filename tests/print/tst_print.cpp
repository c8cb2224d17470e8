// SPDX-License-Identifier: GPL-3.0-or-later
// What a coach's printouts are made of, apart from any paper: the description sheet a coach writes
// (every fault named with its line), the look-alike readings of a whole line, and how blocks flow
// down the columns and pages of a printout.
#include "common/Stamped.h"
#include "common/TempWorkDir.h"
#include "content/DescriptionSheet.h"
#include "content/Language.h"
#include "content/LineTable.h"
#include "content/SymbolNotation.h"
#include "game/SymbolNames.h"
#include "platform/AppError.h"
#include "platform/Random.h"
#include "print/PaperQuiz.h"
#include "print/Printout.h"
#include "results/AnswerStore.h"

#include <QScopeGuard>
#include <QTest>

namespace {

// The shipped codes of a few symbols, as the font and its table have them.
constexpr qint32 Northern = 33;
constexpr qint32 Boulder = 63;
constexpr qint32 OneMetre = 131;
constexpr qint32 TwoFeatures23 = 140;
constexpr qint32 EastSide = 150;
constexpr qint32 Between = 221;
constexpr qint32 Refreshments = 223;

QString lineOf(const AppError& error, const QString& file)
{
    const QString prefix = fileLocation(file);
    return error.location().startsWith(prefix) ? error.location().mid(prefix.size()) : error.location();
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sheetRowsFillTheirColumns();
    void sheetFaultsNameTheLine_data();
    void sheetFaultsNameTheLine();
    void lookAlikeReadingsAreTheLinesMostAlike();
    void blocksFlowDownColumnsThenPages();

private:
    std::unique_ptr<TempWorkDir> m_dir;
};

void TestPrint::initTestCase()
{
    Language::activateBuiltIn();
}

void TestPrint::init()
{
    m_dir = std::make_unique<TempWorkDir>();
    QVERIFY(m_dir->copyIn(QStringLiteral(QUILL_RUN_DIR "/") + QLatin1String(SymbolNotation::FileName),
                          QLatin1String(SymbolNotation::FileName)));
}

void TestPrint::cleanup()
{
    setRandomOverride({});
    m_dir.reset();
}

// Symbols go to their own columns whatever the spaces between them; a second feature goes to E.
// The shipped table of whole lines is read with the same notation.
void TestPrint::sheetRowsFillTheirColumns()
{
    QVERIFY(m_dir->write(QStringLiteral("course.txt"), "\xEF\xBB\xBF# training\r\n"
                                                       "title  Night  training\r\n"
                                                       "START\r\n"
                                                       "31\t0.1:n  2.4 2.4 9.4:2/3 12.14\t13.2\r\n"
                                                       "\r\n"
                                                       "instruction 992\r\n"
                                                       "32 2.4\r\n"
                                                       "finish\r\n"));
    const SymbolNotation notation;
    const DescriptionSheet sheet = readDescriptionSheet(QStringLiteral("course.txt"), notation);
    QCOMPARE(sheet.title, QStringLiteral("Night  training"));
    QCOMPARE(sheet.rows.size(), 5);
    QCOMPARE(sheet.rows[0].kind, SheetRow::Start);
    QCOMPARE(sheet.rows[0].cells, LineCells{});
    QCOMPARE(sheet.rows[1].code, QStringLiteral("31"));
    QCOMPARE(sheet.rows[1].cells,
             (LineCells{Northern, Boulder, Boulder, TwoFeatures23, Between, Refreshments}));
    QCOMPARE(sheet.rows[2].kind, SheetRow::Instruction);
    QCOMPARE(sheet.rows[2].instruction, 992);
    QCOMPARE(sheet.rows[3].cells, (LineCells{0, Boulder, 0, 0, 0, 0}));
    QCOMPARE(sheet.rows[4].kind, SheetRow::Finish);
    QCOMPARE(sheet.rows[4].instruction, 0);

    QVERIFY(m_dir->copyIn(QStringLiteral(QUILL_RUN_DIR "/") + QLatin1String(LineTable::FileName),
                          QLatin1String(LineTable::FileName)));
    const LineTable lines(notation);
    QCOMPARE(lines.cells(1000), (LineCells{Northern, Boulder, 0, OneMetre, EastSide, 0}));
}

void TestPrint::sheetFaultsNameTheLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("line"); // as the location ends

    const auto row = [](const char* name, const char* text, const char* message, const char* line) {
        QTest::newRow(name) << QByteArray(text) << QString::fromLatin1(message) << QString::fromLatin1(line);
    };
    row("unknown symbol", "31 2.4\n32 2.4 12.1:Q\n", Msg::UnknownSymbol, ", line 2");
    row("columns backwards", "31 12.1:E 2.4\n", Msg::SymbolOutOfPlace, ", line 1");
    row("three features", "31 2.4 2.4 2.4\n", Msg::SymbolOutOfPlace, ", line 1");
    row("feature after appearance", "31 8.6 2.4\n", Msg::SymbolOutOfPlace, ", line 1");
    row("sheet mark in a row", "31 2.4 finish\n", Msg::SymbolOutOfPlace, ", line 1");
    // a crossing, junction or between names both features, the second in column E
    row("junction of one path", "31 5.2 5.2 10.2\nstart 5.2 10.2\n", Msg::OneFeatureOfTwo, ", line 2");
    row("between with an appearance", "31 2.4 8.6 12.14\n", Msg::OneFeatureOfTwo, ", line 1");
    row("code too high", "# c\n1000 2.4\n", Msg::ValueOutOfRange, ", line 2");
    row("code not a number", "31x 2.4\n", Msg::InvalidNumericInput, ", line 1");
    row("unknown keyword", "31 2.4\ncontrol 32\n", Msg::NotASheetLine, ", line 2");
    row("instruction out of range", "31 2.4\ninstruction 42\n", Msg::ValueOutOfRange, ", line 2");
    row("instruction without number", "31 2.4\ninstruction\n", Msg::ValueOutOfRange, ", line 2");
    row("no control", "title Only a title\nstart 5.2\nfinish\n", Msg::SheetWithoutControls, "");
}

void TestPrint::sheetFaultsNameTheLine()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    QFETCH(QString, line);
    QVERIFY(m_dir->write(QStringLiteral("bad.txt"), text));
    const SymbolNotation notation;
    try {
        readDescriptionSheet(QStringLiteral("bad.txt"), notation);
        QFAIL("a bad sheet was read");
    } catch (const AppError& error) {
        QCOMPARE(error.messageTemplate(), message);
        QCOMPARE(error.file(), m_dir->filePath(QStringLiteral("bad.txt")));
        QCOMPARE(lineOf(error, error.file()), line);
    }
}

// The three other readings are those of the lines most like the asked one: the same symbols in the
// same columns first, then the same IOF number in another direction or value, then the same
// section; the right reading stands where the random source puts it.
void TestPrint::lookAlikeReadingsAreTheLinesMostAlike()
{
    QVERIFY(m_dir->write(QStringLiteral("Lines.tsv"),
                         "number\tC\tD\tE\tF\tG\tH\n"
                         "1000\t0.1:N\t2.4\t\t9.1:1\t12.1:E\t\n"
                         "1001\t\t2.4\t\t9.1:1\t12.1:E\t\n" // D, F, G the same
                         "1002\t\t2.4\t\t9.1:2\t12.1:W\t\n" // D the same, F and G other values
                         "1003\t\t2.1\t\t\t12.1:E\t\n"      // G the same, D of the same section
                         "1004\t\t1.10\t\t\t12.3:E\t\n"     // G of the same section
                         "1005\t0.1:S\t5.2\t\t\t\t\n"       // C another direction
                         "1006\t\t5.2\t\t\t\t\n"));
    QVERIFY(m_dir->write(
        QStringLiteral("Bitm1.eng"),
        stamped("1000 Asked\r\n1001 Twin\r\n1002 Other size\r\n1003 Cliff east\r\n"
                "1004 Knoll part\r\n1005 Southern path\r\n1006 Path\r\n1007 Not in the table\r\n")));
    const LineTable lines{SymbolNotation()};
    const SymbolNames names(SymbolKind::Line);
    TTypesItem test;
    test.TestNumber = 201;
    test.TestName = QStringLiteral(" Boulders");
    test.Values = {1000, 1000};
    for (const int place : {0, 3}) {
        setRandomOverride([place](int n) { return n == PaperQuiz::Options ? place : 0; });
        const PaperQuiz quiz = PaperQuiz::build(test, SymbolKind::Line, names, &lines);
        QCOMPARE(quiz.testName, QStringLiteral("Boulders"));
        QCOMPARE(quiz.questions.size(), 1); // each line asked once
        QStringList expected{QStringLiteral("Twin"), QStringLiteral("Other size"),
                             QStringLiteral("Cliff east")};
        expected.insert(place, QStringLiteral("Asked"));
        QCOMPARE(quiz.questions[0].options, expected);
        QCOMPARE(quiz.questions[0].answerIndex, place);
        QCOMPARE(quiz.questions[0].answer, QStringLiteral("Asked"));
    }
    // a line the table lacks cannot be drawn: the table is named
    test.Values = {1007};
    try {
        PaperQuiz::build(test, SymbolKind::Line, names, &lines);
        QFAIL("a line without cells was asked");
    } catch (const AppError& error) {
        QCOMPARE(error.messageTemplate(), QString::fromLatin1(Msg::NoTextForNumber));
        QCOMPARE(error.file(), m_dir->filePath(QStringLiteral("Lines.tsv")));
    }
}

// Blocks fill a column, then the next, then a new page under the same title; the part's intro
// stands once at the top; a new part starts on a page of its own; nothing overlaps or leaves the
// page.
void TestPrint::blocksFlowDownColumnsThenPages()
{
    Printout printout(QStringLiteral("Document"));
    printout.beginPart(QStringLiteral("Quiz"), 2);
    printout.addIntro(20, {});
    for (int i = 0; i < 13; ++i)
        printout.addBlock(50, {});
    printout.beginPart(QStringLiteral("Key"));
    printout.addBlock(30, {});
    const QSizeF page(100, 200);
    QStringList titles;
    const QList<Printout::Placement> placed = printout.layOut(page, &titles);

    QCOMPARE(titles, (QStringList{QStringLiteral("Quiz"), QStringLiteral("Quiz"), QStringLiteral("Quiz"),
                                  QStringLiteral("Key")}));
    QCOMPARE(placed.size(), 15);
    const qreal top = Printout::TitleBand;
    const qreal column = (page.width() - Printout::ColumnGap) / 2;
    QCOMPARE(placed[0].place, QRectF(0, top, page.width(), 20));
    // first page: three blocks below the intro in each column
    QCOMPARE(placed[1].place, QRectF(0, top + 20, column, 50));
    QCOMPARE(placed[3].place, QRectF(0, top + 120, column, 50));
    QCOMPARE(placed[4].place, QRectF(column + Printout::ColumnGap, top + 20, column, 50));
    // the second page has no intro: its columns start under the title
    QCOMPARE(placed[7].page, 1);
    QCOMPARE(placed[7].place, QRectF(0, top, column, 50));
    QCOMPARE(placed[13].page, 2);
    QCOMPARE(placed[14].page, 3);
    QCOMPARE(placed[14].place.top(), top);
    for (qsizetype i = 0; i < placed.size(); ++i) {
        QVERIFY(QRectF(QPointF(), page).adjusted(0, top, 0, -Printout::FootBand).contains(placed[i].place));
        for (qsizetype j = i + 1; j < placed.size(); ++j) {
            if (placed[i].page == placed[j].page)
                QVERIFY2(!placed[i].place.intersects(placed[j].place),
                         qPrintable(QStringLiteral("%1 %2").arg(i).arg(j)));
        }
    }
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
