// SPDX-License-Identifier: GPL-3.0-or-later
// Checksums, the number tokenizer, numbered texts and catalogues, and the line ends of every text file.
#include "common/Stamped.h"
#include "common/TempWorkDir.h"
#include "content/Catalogue.h"
#include "content/Checksum.h"
#include "content/DescriptionSheet.h"
#include "content/NumberedText.h"
#include "content/SymbolNotation.h"
#include "content/SymbolRelations.h"
#include "content/TextReader.h"
#include "platform/AppError.h"
#include "platform/Random.h"

#include <QTest>

class TestContent : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setRandomOverride({}); }

    void checksumExamples_data();
    void checksumExamples();
    void checksumCountsAcrossBlocks();
    void checksumStartsAtCanonicalHeaderLength();
    void checksumFailures();
    void utf8FileBehindItsMark();

    void tokenizer_data();
    void tokenizer();
    void tokenizerLineEnds();

    void numberedText_data();
    void numberedText();
    void numberedTextMissingFileAndBadLine();

    void catalogueEntries();
    void catalogueGroupsAndNesting();
    void catalogueTrailingLineBreakGivesEmptyEntry();
    void catalogueGroupOverLineEnds();
    void catalogueRejects_data();
    void catalogueRejects();
    void catalogueLimits();

    void anyLineEnds_data();
    void anyLineEnds();
    void fileThatYieldsNothingIsNamed();
};

void TestContent::checksumExamples_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("abc") << QByteArray("96\r\nabc") << 96;
    QTest::newRow("abc CR LF") << QByteArray("119\r\nabc\r\n") << 119;
    QTest::newRow("0 0 255") << QByteArray("-255\r\n\x00\x00\xff", 9) << -255;
    QTest::newRow("empty body") << QByteArray("0\r\n") << 0;
    QTest::newRow("empty file") << QByteArray() << 0;
}

void TestContent::checksumExamples()
{
    QFETCH(QByteArray, file);
    QFETCH(qint32, expected);
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("Bitm1.eng"), file));
    QCOMPARE(ReadChecksumLine(QStringLiteral("Bitm1.eng")), expected);
    QCOMPARE(FileChecksum(QStringLiteral("Bitm1.eng"), 3), expected);
    // letter case does not tell content files apart
    QCOMPARE(FileChecksum(QStringLiteral("bitm1.ENG"), 3), expected);
}

void TestContent::checksumCountsAcrossBlocks()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("x"), QByteArray("1366\r\n") + QByteArray(4096, '\x01')));
    QCOMPARE(FileChecksum(QStringLiteral("x"), 3), 1366);
    // sums wrap modulo 2^32 and a general divisor counts positions the same way
    QCOMPARE(BodyChecksum(QByteArray(10, '\x02'), 4), 2 * 8 - 2 * 2);
    QCOMPARE(BodyChecksum(QByteArray(5, '\xff'), 1), -5 * 255);
}

void TestContent::checksumStartsAtCanonicalHeaderLength()
{
    TempWorkDir dir;
    // S = 96, canonical length 2: the sum starts at offset 4, the line feed
    QVERIFY(dir.write(QStringLiteral("x"), QByteArray("096\r\nabc")));
    QCOMPARE(ReadChecksumLine(QStringLiteral("x")), 96);
    QCOMPARE(FileChecksum(QStringLiteral("x"), 3), 10 + 97 - 98 + 99);
    // a header longer than the file gives 0
    QVERIFY(dir.write(QStringLiteral("y"), QByteArray("123456")));
    QCOMPARE(FileChecksum(QStringLiteral("y"), 3), 0);
}

void TestContent::checksumFailures()
{
    TempWorkDir dir;
    try {
        FileChecksum(QStringLiteral("missing.eng"), 3);
        QFAIL("no error for a missing file");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), QStringLiteral("File not found"));
    }
    QVERIFY(dir.write(QStringLiteral("x"), QByteArray("abc\r\n1")));
    try {
        FileChecksum(QStringLiteral("x"), 3);
        QFAIL("no error for a first line that is not a number");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), QStringLiteral("Invalid numeric input"));
    }
}

// A file with a letter Latin-1 lacks is UTF-8, marked at its start: its checksum line follows the
// mark and its sum counts the body's UTF-8 bytes; its texts and test names read as UTF-8.
void TestContent::utf8FileBehindItsMark()
{
    TempWorkDir dir;
    const QByteArray mark("\xef\xbb\xbf");
    const QByteArray body = QStringLiteral("1 l'\u0153uvre\r\n2 Gr\u00fcn\r\n").toUtf8();
    QVERIFY(dir.write(QStringLiteral("Legends.fra"), mark + stamped(body)));
    const ChecksumCheck check = CheckFileChecksum(QStringLiteral("Legends.fra"), ContentChecksumDivisor);
    QVERIFY(check.matches());
    QCOMPARE(check.stored, BodyChecksum(body, ContentChecksumDivisor));
    QCOMPARE(ReadNumberedText(QStringLiteral("Legends.fra"), 1), QStringLiteral("l'\u0153uvre"));
    QCOMPARE(ReadNumberedText(QStringLiteral("Legends.fra"), 2), QStringLiteral("Gr\u00fcn"));

    QVERIFY(dir.write(QStringLiteral("TypesLeg.fra"),
                      mark + QStringLiteral("101 C\u0153ur\r\n\r\nN33").toUtf8()));
    QCOMPARE(ReadCatalogueEntries(QStringLiteral("TypesLeg.fra")).value(0).TestName,
             QStringLiteral(" C\u0153ur"));
}

void TestContent::tokenizer_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<qint32>>("numbers");
    QTest::addColumn<bool>("fails");
    QTest::newRow("blanks and tabs") << QByteArray(" \t 12 \t-7") << QList<qint32>{12, -7} << false;
    QTest::newRow("plus sign") << QByteArray("+5") << QList<qint32>{5} << false;
    QTest::newRow("end gives 0") << QByteArray("3  \r\n") << QList<qint32>{3, 0, 0} << false;
    QTest::newRow("32-bit limits") << QByteArray("2147483647 -2147483648") << QList<qint32>{INT_MAX, INT_MIN}
                                   << false;
    QTest::newRow("overflow") << QByteArray("2147483648") << QList<qint32>{} << true;
    QTest::newRow("letters") << QByteArray("12a") << QList<qint32>{} << true;
    QTest::newRow("sign alone") << QByteArray("-") << QList<qint32>{} << true;
    QTest::newRow("code 26 ends the file") << QByteArray("4\x1a 5") << QList<qint32>{4, 0} << false;
    // at most 32 characters form one token; the rest is the next token
    QTest::newRow("33 digits") << QByteArray(32, '0') + "7" << QList<qint32>{0, 7} << false;
}

void TestContent::tokenizer()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<qint32>, numbers);
    QFETCH(bool, fails);
    TextReader reader(text);
    if (fails) {
        QVERIFY_THROWS_EXCEPTION(AppError, reader.readNumber());
        return;
    }
    for (qint32 n : numbers)
        QCOMPARE(reader.readNumber(), n);
}

void TestContent::tokenizerLineEnds()
{
    // CR LF, a lone CR and a lone LF each end one line
    const QByteArray text("a\r\nb\rc\nd\n\re");
    TextReader reader(text);
    for (const char* line : {"a", "b", "c", "d", "", "e"}) {
        QCOMPARE(reader.readRestOfLine(), QByteArray(line));
        reader.nextLine();
    }
    QVERIFY(reader.atLineEnd());
    QVERIFY(reader.atEnd());
    QCOMPARE(reader.lineAt(text.indexOf('e')), 6);
}

void TestContent::numberedText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one blank") << QByteArray("5 word\r\n") << 5 << QStringLiteral("word");
    QTest::newRow("two blanks") << QByteArray("5  word\r\n") << 5 << QStringLiteral(" word");
    QTest::newRow("number alone") << QByteArray("5\r\n6 x") << 5 << QString();
    QTest::newRow("tab separator") << QByteArray("5\tword") << 5 << QStringLiteral("word");
    QTest::newRow("first occurrence wins")
        << QByteArray("7 first\r\n7 second\r\n") << 7 << QStringLiteral("first");
    QTest::newRow("checksum line") << QByteArray("1234\r\n1 a\r\n") << 1234 << QString();
    QTest::newRow("trailing line break answers 0") << QByteArray("1 a\r\n") << 0 << QString();
    QTest::newRow("absent number") << QByteArray("1 a\r\n2 b") << 3 << QString();
    QTest::newRow("blank lines and order")
        << QByteArray("\r\n\r\n  9 nine\r\n3 three") << 3 << QStringLiteral("three");
    QTest::newRow("lone CR") << QByteArray("1 a\r2 b") << 2 << QStringLiteral("b");
    QTest::newRow("blanks kept") << QByteArray("4  x  \r\n") << 4 << QStringLiteral(" x  ");
    QTest::newRow("single-byte text") << QByteArray("8 Gr\xfcn") << 8 << QStringLiteral("Gr\u00fcn");
    QTest::newRow("UTF-8 behind its mark") << QByteArray("\xef\xbb\xbf"
                                                         "8 l'\xc5\x93uvre")
                                           << 8 << QStringLiteral("l'\u0153uvre");
    QTest::newRow("long line") << QByteArray("2 ") + QByteArray(600, 'z') << 2
                               << QString(600, QLatin1Char('z'));
}

void TestContent::numberedText()
{
    QFETCH(QByteArray, file);
    QFETCH(qint32, number);
    QFETCH(QString, expected);
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("Legtab.eng"), file));
    QCOMPARE(ReadNumberedText(QStringLiteral("legtab.eng"), number), expected);
}

void TestContent::numberedTextMissingFileAndBadLine()
{
    TempWorkDir dir;
    QCOMPARE(ReadNumberedText(QStringLiteral("nothing.eng"), 1), QString());
    QVERIFY(dir.write(QStringLiteral("bad.eng"), QByteArray("1 a\r\nx b\r\n2 c")));
    QCOMPARE(ReadNumberedText(QStringLiteral("bad.eng"), 1), QStringLiteral("a"));
    try {
        ReadNumberedText(QStringLiteral("bad.eng"), 2);
        QFAIL("a line without a number must fail");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), QStringLiteral("Invalid numeric input"));
    }
}

void TestContent::catalogueEntries()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("TypesLeg.eng"),
                      "101 Landforms\r\nfirst remark\r\nN33 N34,N35 x} N36\r\n"
                      "102 Rock\r\n\r\nN989 N990"));
    ReadCatalogue(QStringLiteral("typesleg.eng"));
    const TTypesFile& c = Catalogue();
    QCOMPARE(c.Count(), 2);
    QCOMPARE(c.Entries[0].TestNumber, 101);
    QCOMPARE(c.Entries[0].TestName, QStringLiteral(" Landforms"));
    QCOMPARE(c.Entries[0].Remark, QStringLiteral("first remark"));
    QCOMPARE(c.Entries[0].Values, (QList<qint32>{33, 34, 35, 36}));
    QCOMPARE(c.Entries[1].Remark, QString());
    QCOMPARE(c.Entries[1].Values, (QList<qint32>{989, 990}));
}

void TestContent::catalogueGroupsAndNesting()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("types.eng"), "1 T\r\n\r\nN5 {N6 {N7 N8} N9} N10 {N11}"));
    // every choice of the generator gives the documented order
    for (int pick = 0; pick < 2; ++pick) {
        setRandomOverride([pick](int n) { return std::min(pick, n - 1); });
        ReadCatalogue(QStringLiteral("types.eng"));
        const QList<qint32> values = Catalogue().Entries[0].Values;
        QCOMPARE(values.size(), 5);
        QCOMPARE(values[0], 5);
        QCOMPARE(values[1], pick == 0 ? 7 : 8);
        QCOMPARE(values[2], pick == 0 ? 6 : 9);
        QCOMPARE(values[3], 10);
        QCOMPARE(values[4], 11); // a group of one value always gives it
    }
}

void TestContent::catalogueTrailingLineBreakGivesEmptyEntry()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("types.eng"), "1 T\r\nr\r\nN1\r\n"));
    ReadCatalogue(QStringLiteral("types.eng"));
    QCOMPARE(Catalogue().Count(), 2);
    const TTypesItem& last = Catalogue().Entries[1];
    QCOMPARE(last.TestNumber, 0);
    QCOMPARE(last.TestName, QString());
    QCOMPARE(last.Remark, QString());
    QVERIFY(last.Values.isEmpty());
}

void TestContent::catalogueGroupOverLineEnds()
{
    TempWorkDir dir;
    setRandomOverride([](int n) { return n - 1; });
    QVERIFY(dir.write(QStringLiteral("types.eng"), "1 T\r\n\r\nN1 {N2\r\nN3} N4\r\n2 U\r\n\r\nN\r\n5"));
    ReadCatalogue(QStringLiteral("types.eng"));
    QCOMPARE(Catalogue().Count(), 2);
    QCOMPARE(Catalogue().Entries[0].Values, (QList<qint32>{1, 3, 4}));
    // reading a number after "N" skips line ends
    QCOMPARE(Catalogue().Entries[1].Values, (QList<qint32>{5}));
}

void TestContent::catalogueRejects_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty group") << QByteArray("1 T\r\n\r\nN1 {}")
                                 << QStringLiteral("types.eng: a group of test 1 has no value");
    QTest::newRow("open group") << QByteArray("1 T\r\n\r\nN1 {N2 N3")
                                << QStringLiteral("types.eng: a group of test 1 is not closed");
    QTest::newRow("bad number") << QByteArray("1 T\r\n\r\nNx") << QStringLiteral("Invalid numeric input");
    QTest::newRow("bad test number") << QByteArray("one T\r\n\r\nN1")
                                     << QStringLiteral("Invalid numeric input");
    QTest::newRow("deep nesting") << QByteArray("1 T\r\n\r\n") + QByteArray(100000, '{')
                                  << QStringLiteral(
                                         "types.eng: groups of test 1 are nested more than 64 deep");
}

void TestContent::catalogueRejects()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("good.eng"), "1 T\r\n\r\nN1"));
    ReadCatalogue(QStringLiteral("good.eng"));
    QCOMPARE(Catalogue().Count(), 1);
    QVERIFY(dir.write(QStringLiteral("types.eng"), file));
    try {
        ReadCatalogue(QStringLiteral("types.eng"));
        QFAIL("the catalogue must be rejected");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), message);
    }
    QCOMPARE(Catalogue().Count(), 0);
    QVERIFY_THROWS_EXCEPTION(AppError, ReadCatalogue(QStringLiteral("absent.eng")));
}

void TestContent::catalogueLimits()
{
    TempWorkDir dir;
    QByteArray manyTests;
    for (int i = 0; i < 102; ++i)
        manyTests += QByteArray::number(i) + " T\r\n\r\nN1\r\n";
    manyTests.chop(2);
    QVERIFY(dir.write(QStringLiteral("a.eng"), manyTests));
    QVERIFY_THROWS_EXCEPTION(AppError, ReadCatalogue(QStringLiteral("a.eng")));

    QByteArray line = "1 T\r\n\r\n";
    for (int i = 0; i < 1002; ++i)
        line += "N1 ";
    QVERIFY(dir.write(QStringLiteral("b.eng"), line));
    QVERIFY_THROWS_EXCEPTION(AppError, ReadCatalogue(QStringLiteral("b.eng")));

    QByteArray group = "1 T\r\n\r\n{";
    for (int i = 0; i < 102; ++i)
        group += "N1 ";
    QVERIFY(dir.write(QStringLiteral("c.eng"), group + "}"));
    QVERIFY_THROWS_EXCEPTION(AppError, ReadCatalogue(QStringLiteral("c.eng")));

    // exactly at the limits is fine
    manyTests = {};
    for (int i = 0; i < 101; ++i)
        manyTests += QByteArray::number(i) + " T\r\n\r\n{N1 N2}\r\n";
    manyTests.chop(2);
    QVERIFY(dir.write(QStringLiteral("d.eng"), manyTests));
    ReadCatalogue(QStringLiteral("d.eng"));
    QCOMPARE(Catalogue().Count(), 101);
}

void TestContent::anyLineEnds_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR") << QByteArray("\r");
}

// Every text file of the program reads alike with any line ends: the numbered texts, a catalogue,
// the relations between the symbols, a table, a coach's description sheet; and a fault is named at
// its own line.
void TestContent::anyLineEnds()
{
    QFETCH(QByteArray, lineEnd);
    const auto lines = [&lineEnd](const QByteArrayList& list) { return list.join(lineEnd); };
    TempWorkDir dir;

    QVERIFY(dir.write(QStringLiteral("Legends.eng"), lines({"1234", "33 Terrace", "34 Spur", ""})));
    QCOMPARE(ReadNumberedTexts(QStringLiteral("legends.eng")),
             (QList<QPair<qint32, QString>>{
                 {1234, QString()}, {33, QStringLiteral("Terrace")}, {34, QStringLiteral("Spur")}}));

    QVERIFY(dir.write(QStringLiteral("TypesLeg.eng"),
                      lines({"101 Landforms", "a remark", "N33 N34", "102 Rock", "", "N35"})));
    const QList<TTypesItem> tests = ReadCatalogueEntries(QStringLiteral("TypesLeg.eng"));
    QCOMPARE(tests.size(), 2);
    QCOMPARE(tests[0].TestName, QStringLiteral(" Landforms"));
    QCOMPARE(tests[0].Remark, QStringLiteral("a remark"));
    QCOMPARE(tests[0].Values, (QList<qint32>{33, 34}));
    QCOMPARE(tests[1].Values, (QList<qint32>{35}));

    QVERIFY(dir.write(QStringLiteral("Relations.txt"),
                      lines({"; the relations", "column 33 D 1.1", "group 101 landforms", ""})));
    const SymbolRelations relations = SymbolRelations::read();
    QCOMPARE(relations.columnOf(33), QLatin1Char('D'));
    QCOMPARE(relations.groupOf(101), QStringLiteral("landforms"));

    QVERIFY(dir.write(QStringLiteral("SymbolCodes.tsv"),
                      lines({"code\tnotation\tcolumn", "33\t1.1\tD", "34\t1.2\tD", ""})));
    const SymbolNotation notation;
    QCOMPARE(notation.code(QStringLiteral("1.2")), 34);

    QVERIFY(dir.write(QStringLiteral("sheet.txt"), lines({"title Saturday", "31 1.1", "32 1.2"})));
    const DescriptionSheet sheet = readDescriptionSheet(QStringLiteral("sheet.txt"), notation);
    QCOMPARE(sheet.title, QStringLiteral("Saturday"));
    QCOMPARE(sheet.rows.size(), 2);
    QCOMPARE(sheet.rows[1].cells[SheetColumn::D], 34);

    QVERIFY(dir.write(QStringLiteral("bad.txt"), lines({"title Saturday", "31 1.1", "32 9.9"})));
    try {
        readDescriptionSheet(QStringLiteral("bad.txt"), notation);
        QFAIL("an unknown symbol must be refused");
    } catch (const AppError& e) {
        QVERIFY2(e.location().endsWith(QLatin1String("bad.txt, line 3")), qPrintable(e.location()));
    }
}

// A file the program needs that yields nothing at all is named, not taken for an empty list.
void TestContent::fileThatYieldsNothingIsNamed()
{
    TempWorkDir dir;
    const QString nothing = QStringLiteral("The file holds nothing the program can read");
    QVERIFY(dir.write(QStringLiteral("Relations.txt"), "; comments alone\r\n\r\n"));
    try {
        SymbolRelations::read();
        QFAIL("relations without a relation must be refused");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), nothing);
        QCOMPARE(e.file(), dir.filePath(QStringLiteral("Relations.txt")));
    }
    // a table of relations that is not there at all is no fault of a file
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("Relations.txt"))));
    QVERIFY(!SymbolRelations::read().hasCells(1000));

    for (const QByteArray& empty :
         {QByteArray(), QByteArray("\r\n\r\n"), QByteArray("101 Landforms\r\n\r\n")}) {
        QVERIFY(dir.write(QStringLiteral("TypesLeg.eng"), empty));
        try {
            ReadCatalogue(QStringLiteral("TypesLeg.eng"));
            QFAIL("a catalogue without a value must be refused");
        } catch (const AppError& e) {
            QCOMPARE(e.text(), nothing);
            QCOMPARE(e.file(), dir.filePath(QStringLiteral("TypesLeg.eng")));
        }
    }
}

QTEST_GUILESS_MAIN(TestContent)
#include "tst_content.moc"
