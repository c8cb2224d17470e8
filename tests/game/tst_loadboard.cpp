// SPDX-License-Identifier: GPL-3.0-or-later
// The board loader: filling the grid's items from one test of the catalogue.

#include "game/TMyDrawGrid.h"
#include "grid_helper.h"
#include "platform/AppError.h"

#include <QFontDatabase>
#include <QtTest>

using namespace GridTest;

namespace {

const QColor SymbolGreen(0x00, 0x80, 0x00);
const QString Code = QStringLiteral("eng");

// The columns of `image` that hold a pixel other than white, as a range.
std::pair<int, int> inkedColumns(const QImage& image)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) != qRgb(0xFF, 0xFF, 0xFF)) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

class TestLoadBoard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fourValuesFillTheFirstItems();
    void secondLoadReplacesTheFirst();

    void fontSymbolKeepsTheLowByte();
    void fontSymbolIsCentredOnWhite();
    void mapSymbolsBecomeCellSized();

    void unplayableBoardIsRefused_data();
    void unplayableBoardIsRefused();
    void brokenTextFile();
    void brokenPictureFailsWhenShown();

private:
    void load(const TTypesItem& item, const QString& code = Code) { loadBoard(m_grid.get(), item, code); }
    void setKinds(quint8 kind)
    {
        for (int i = 0; i < TMyDrawGrid::ItemCount; ++i)
            m_grid->Item(i)->SetKind(kind);
    }
    // The items from `from` on are cleared and emptied.
    void verifyClearedFrom(int from);
    // The loading of `values` fails with `message` naming the file `file`; the board is empty.
    // With `afterBoard`, a board of library pictures is loaded first.
    void verifyRefused(const QList<qint32>& values, const QString& code, const QString& message,
                       const QString& file, bool afterBoard = true);

    std::unique_ptr<FixtureFolder> m_folder;
    std::unique_ptr<TMyDrawGrid> m_grid;
    QString m_symbolFamily;
};

void TestLoadBoard::initTestCase()
{
    // A stand-in for the symbol font: any font with real glyphs measures and draws the same way.
    const int id =
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    if (id < 0)
        QSKIP("DejaVu Sans (fonts-dejavu-core) is needed to draw font symbols");
    m_symbolFamily = QFontDatabase::applicationFontFamilies(id).value(0);
}

void TestLoadBoard::init()
{
    m_folder = std::make_unique<FixtureFolder>();
    m_grid = std::make_unique<TMyDrawGrid>();
    m_grid->SetDefaultColWidth(190);
    m_grid->SetDefaultRowHeight(80);
    QFont symbols(m_symbolFamily);
    symbols.setPixelSize(64);
    m_grid->SetFontSymbols(symbols);
    m_grid->SetFontSymbolsColor(SymbolGreen);
}

void TestLoadBoard::cleanup()
{
    m_grid.reset();
    m_folder.reset();
}

void TestLoadBoard::verifyClearedFrom(int from)
{
    for (int i = from; i < TMyDrawGrid::ItemCount; ++i) {
        const CellItem* item = m_grid->Item(i);
        QVERIFY2(item->Cleared(), qPrintable(QString::number(i)));
        QVERIFY(item->Text.isEmpty());
        QVERIFY(item->ResourceName().isEmpty());
        QVERIFY(item->SymbolChar().isEmpty());
        QVERIFY(item->PictureV.isNull() && item->PictureI.isNull() && item->PictureN.isNull());
        QVERIFY(item->PictureLarge.isNull());
    }
}

void TestLoadBoard::fourValuesFillTheFirstItems()
{
    // Leftovers of an earlier game in an item that the new test does not use.
    CellItem* old = m_grid->Item(50);
    old->Text = QStringLiteral("Old text");
    old->AddText = QStringLiteral("Old explanation");
    old->Number = 77;
    old->SetKind(CellItem::KindMapSymbol);
    old->SetLibraryName(QStringLiteral("Other.dll"));
    old->SetResourceName(QStringLiteral("B77"));
    old->SetSymbolChar(QStringLiteral("M"));
    old->PictureLarge = QImage(113, 113, QImage::Format_RGB32);
    m_grid->Item(7)->PictureV = QImage(10, 10, QImage::Format_RGB32);

    load(entry({1, 2, 2, 1}));

    const CellItem* first = m_grid->Item(0);
    QVERIFY(!first->Cleared());
    QCOMPARE(first->Number, 1);
    QCOMPARE(first->SymbolChar(), QString(QChar(1)));
    QCOMPARE(first->LibraryName(), LibraryName);
    QCOMPARE(first->ResourceName(), QStringLiteral("V1"));
    QCOMPARE(first->Text, QStringLiteral("Blue picture"));
    QCOMPARE(first->AddText, QStringLiteral("The blue picture fills a whole question picture."));
    QCOMPARE(first->PictureV.size(), QSize(180, 77));
    QCOMPARE(first->PictureV.pixel(90, 40), qRgb(0, 0, 0xFF));
    QCOMPARE(first->PictureI.size(), QSize(40, 30));
    QCOMPARE(first->PictureN.size(), QSize(50, 20));
    QVERIFY(first->PictureLarge.isNull());
    QCOMPARE(m_grid->Item(2)->Text, QStringLiteral("Red picture"));
    QCOMPARE(m_grid->Item(2)->PictureV.size(), QSize(100, 50));
    QCOMPARE(m_grid->Item(3)->ResourceName(), QStringLiteral("V1"));

    verifyClearedFrom(4);
    QCOMPARE(m_grid->ClearedCount(), 11);
    // What the reset leaves alone.
    QCOMPARE(old->AddText, QStringLiteral("Old explanation"));
    QCOMPARE(old->Number, 77);
    QCOMPARE(old->Kind(), CellItem::KindMapSymbol);
    QCOMPARE(old->LibraryName(), QStringLiteral("Other.dll"));
}

void TestLoadBoard::secondLoadReplacesTheFirst()
{
    load(entry({1, 2, 1, 2}));
    load(entry({2}));
    QCOMPARE(m_grid->Item(0)->Text, QStringLiteral("Red picture"));
    QCOMPARE(m_grid->Item(0)->PictureV.size(), QSize(100, 50));
    verifyClearedFrom(1);
    // An explanation outlives the reset; a cleared cell never shows it.
    QCOMPARE(m_grid->Item(1)->AddText, QStringLiteral("The red picture is smaller than its cell."));
}

void TestLoadBoard::fontSymbolKeepsTheLowByte()
{
    setKinds(CellItem::KindFontSymbol);
    load(entry({300}));
    const CellItem* item = m_grid->Item(0);
    QVERIFY(!item->Cleared());
    QCOMPARE(item->Number, 300);
    QCOMPARE(item->SymbolChar(), QString(QChar(44)));
    QCOMPARE(item->ResourceName(), QStringLiteral("V300"));
    QCOMPARE(item->Text, QStringLiteral("Symbol with the code of a comma"));
    QCOMPARE(item->AddText, QStringLiteral("Codes above 255 keep their low byte."));
    QCOMPARE(item->PictureLarge.size(), QSize(180, 77));
    QVERIFY(item->PictureV.isNull() && item->PictureI.isNull() && item->PictureN.isNull());
}

void TestLoadBoard::fontSymbolIsCentredOnWhite()
{
    setKinds(CellItem::KindFontSymbol);
    load(entry({65, 44}));
    const QImage letter = m_grid->Item(0)->PictureLarge;
    const QImage comma = m_grid->Item(1)->PictureLarge;
    QCOMPARE(letter.size(), QSize(180, 77));
    int green = 0;
    for (int y = 0; y < letter.height(); ++y)
        for (int x = 0; x < letter.width(); ++x)
            green += letter.pixel(x, y) == SymbolGreen.rgb();
    QVERIFY(green > 100);
    // Centred across the 190 pixels it was drawn on, not across the 180 it keeps.
    auto [left, right] = inkedColumns(letter);
    QVERIFY(left > 0);
    QVERIFY2(qAbs((left + right) / 2 - 95) <= 3, qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));

    // The second symbol is drawn on a clean picture: exactly as when it is loaded alone.
    QVERIFY(comma != letter);
    load(entry({44}));
    QCOMPARE(m_grid->Item(0)->PictureLarge, comma);

    // A wider column moves the symbol's centre; the picture is cut to 180 at the right.
    m_grid->SetDefaultColWidth(240);
    load(entry({65}));
    QCOMPARE(m_grid->Item(0)->PictureLarge.size(), QSize(180, 77));
    std::tie(left, right) = inkedColumns(m_grid->Item(0)->PictureLarge);
    QVERIFY(qAbs((left + right) / 2 - 120) <= 3);
}

void TestLoadBoard::mapSymbolsBecomeCellSized()
{
    setKinds(CellItem::KindMapSymbol);
    load(entry({101, 102}));
    const CellItem* square = m_grid->Item(0);
    QCOMPARE(square->ResourceName(), QStringLiteral("B101"));
    QCOMPARE(square->Text, QStringLiteral("Square map symbol"));
    QCOMPARE(square->AddText, QStringLiteral("Its picture already has the size of a cell."));
    QCOMPARE(square->PictureLarge.size(), QSize(113, 113));
    QVERIFY(uniform(square->PictureLarge, QRect(0, 0, 113, 113), SymbolGreen));
    QVERIFY(square->PictureV.isNull());

    // 60 by 150 pixels: cut at the bottom, widened with white at the right.
    const CellItem* tall = m_grid->Item(1);
    QCOMPARE(tall->ResourceName(), QStringLiteral("B102"));
    QCOMPARE(tall->PictureLarge.size(), QSize(113, 113));
    QVERIFY(uniform(tall->PictureLarge, QRect(0, 0, 60, 113), QColor(0xFF, 0, 0)));
    QVERIFY(uniform(tall->PictureLarge, QRect(60, 0, 53, 113), QColor(Qt::white)));
    verifyClearedFrom(2);
}

void TestLoadBoard::verifyRefused(const QList<qint32>& values, const QString& code, const QString& message,
                                  const QString& file, bool afterBoard)
{
    if (afterBoard && m_grid->Item(0)->Kind() == CellItem::KindLibraryPicture)
        load(entry({1, 2})); // an earlier board
    TTypesItem test = entry({});
    test.Values = values;
    try {
        load(test, code);
        QFAIL("no error");
    } catch (const AppError& error) {
        QCOMPARE(error.text(), message);
        QCOMPARE(error.file(), QDir::current().absoluteFilePath(file));
    }
    // nothing of either board can be played
    verifyClearedFrom(0);
    QCOMPARE(m_grid->NextTarget(), QString());
}

// A test that could not be played in full is refused with the file and the number at fault.
void TestLoadBoard::unplayableBoardIsRefused_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<qint32>>("values");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("file");
    const QString library = LibraryName;
    QTest::newRow("cell picture") << 0 << QList<qint32>{1, 5, 2} << Code << "Resource V5 not found"
                                  << library;
    QTest::newRow("second picture") << 0 << QList<qint32>{1, 3, 2} << Code << "Resource I3 not found"
                                    << library;
    QTest::newRow("third picture") << 0 << QList<qint32>{1, 4, 2} << Code << "Resource N4 not found"
                                   << library;
    QTest::newRow("map-symbol picture")
        << 3 << QList<qint32>{101, 103} << Code << "Resource B103 not found" << library;
    QTest::newRow("text") << 0 << QList<qint32>{1, 7, 2} << Code << "No text for number 7"
                          << QStringLiteral("Bitm1.eng");
    QTest::newRow("text file") << 0 << QList<qint32>{1} << QStringLiteral("xyz") << "File not found"
                               << QStringLiteral("Bitm1.xyz");
    QTest::newRow("font symbol text")
        << 1 << QList<qint32>{65, 66} << Code << "No text for number 66" << QStringLiteral("Legends.eng");
    QTest::newRow("map-symbol text") << 3 << QList<qint32>{101, 104} << Code << "No text for number 104"
                                     << QStringLiteral("Symbols.eng");
    QTest::newRow("no values") << 0 << QList<qint32>{} << Code << "Test 0 has no symbols" << QString();
}

void TestLoadBoard::unplayableBoardIsRefused()
{
    QFETCH(int, kind);
    QFETCH(QList<qint32>, values);
    QFETCH(QString, code);
    QFETCH(QString, message);
    QFETCH(QString, file);
    setKinds(static_cast<quint8>(kind));
    if (file.isEmpty()) {
        load(entry({1}));
        try {
            load(entry({}));
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.text(), message);
        }
        verifyClearedFrom(0);
        return;
    }
    verifyRefused(values, code, message, file);
}

void TestLoadBoard::brokenTextFile()
{
    // A line that does not start with a number ends the loading, naming the file and the line.
    try {
        load(entry({2}), QStringLiteral("bad"));
        QFAIL("no error");
    } catch (const AppError& error) {
        QCOMPARE(error.messageTemplate(), QString::fromLatin1(Msg::InvalidNumericInput));
        QVERIFY(error.location().endsWith(QStringLiteral("Bitm1.bad, line 2")));
    }
    verifyClearedFrom(0);

    // Without the picture library, or with a file of its name that is no library, a test of
    // pictures cannot be played; a test of font symbols needs no library.
    QVERIFY(QFile::remove(LibraryName));
    verifyRefused({1, 2}, Code, QStringLiteral("File not found"), LibraryName, false);
    QFile file(LibraryName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a container");
    file.close();
    verifyRefused({1, 2}, Code, QString::fromLatin1(Msg::DamagedFile), LibraryName, false);
    setKinds(CellItem::KindFontSymbol);
    load(entry({65}));
    QCOMPARE(m_grid->Item(0)->Text, QStringLiteral("Letter symbol"));
}

// The map excerpt and the ground sketch are decoded when first shown: a broken one loads and fails
// when it is looked at; the item's other pictures are unaffected.
void TestLoadBoard::brokenPictureFailsWhenShown()
{
    load(entry({1, 6, 2}));
    QCOMPARE(m_grid->ClearedCount(), 12);
    const CellItem* item = m_grid->Item(1);
    QVERIFY(!item->PictureV.isNull());
    try {
        (void)item->PictureI.image();
        QFAIL("no error");
    } catch (const AppError& error) {
        QCOMPARE(error.messageTemplate(), QString::fromLatin1(Msg::ResourceNotFound));
        QCOMPARE(error.arguments(), QStringList{QStringLiteral("I6")});
    }
    QCOMPARE(item->PictureN.size(), m_grid->Item(0)->PictureN.size());
    QCOMPARE(item->PictureN.image(), m_grid->Item(0)->PictureN.image()); // the same drawing
}

QTEST_MAIN(TestLoadBoard)
#include "tst_loadboard.moc"
