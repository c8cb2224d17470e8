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
    void zeroValuesClearTheBoard();
    void secondLoadReplacesTheFirst();
    void withoutLibraryNothingChanges();

    void fontSymbolKeepsTheLowByte();
    void fontSymbolIsCentredOnWhite();
    void mapSymbolsBecomeCellSized();

    void missingCellPictureEndsTheFillingQuietly();
    void missingPictureThrows_data();
    void missingPictureThrows();
    void missingOrBrokenTexts();
    void brokenPictureFailsWhenShown();

private:
    void load(const TTypesItem& item, const QString& code = Code)
    {
        m_grid->LoadBoard(item, code, LibraryName, QStringLiteral("V"), QStringLiteral("I"),
                          QStringLiteral("N"), QStringLiteral("B"), QStringLiteral("Legends"),
                          QStringLiteral("Symbols"));
    }
    void setKinds(quint8 kind)
    {
        for (int i = 0; i < TMyDrawGrid::ItemCount; ++i)
            m_grid->Item(i)->SetKind(kind);
    }
    // The items from `from` on are cleared and emptied.
    void verifyClearedFrom(int from);

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
        const TBitmapList* item = m_grid->Item(i);
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
    TBitmapList* old = m_grid->Item(50);
    old->Text = QStringLiteral("Old text");
    old->AddText = QStringLiteral("Old explanation");
    old->Number = 77;
    old->SetKind(TBitmapList::KindMapSymbol);
    old->SetLibraryName(QStringLiteral("Other.dll"));
    old->SetResourceName(QStringLiteral("B77"));
    old->SetSymbolChar(QStringLiteral("M"));
    old->PictureLarge = QImage(113, 113, QImage::Format_RGB32);
    m_grid->Item(7)->PictureV = QImage(10, 10, QImage::Format_RGB32);

    load(entry({1, 2, 2, 1}));

    const TBitmapList* first = m_grid->Item(0);
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
    QCOMPARE(old->Kind(), TBitmapList::KindMapSymbol);
    QCOMPARE(old->LibraryName(), QStringLiteral("Other.dll"));
}

void TestLoadBoard::zeroValuesClearTheBoard()
{
    load(entry({}));
    verifyClearedFrom(0);
    QCOMPARE(m_grid->ClearedCount(), m_grid->CellCount());
    QCOMPARE(m_grid->NextTarget(), QString());
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

void TestLoadBoard::withoutLibraryNothingChanges()
{
    load(entry({1, 2}));
    m_grid->Item(0)->SetCleared(true); // found in the previous game
    m_folder.reset(); // the old folder first, so that it hands back the right working directory
    m_folder = std::make_unique<FixtureFolder>(false);
    const auto verifyUnchanged = [this] {
        QVERIFY(m_grid->Item(0)->Cleared());
        QCOMPARE(m_grid->Item(0)->Text, QStringLiteral("Blue picture"));
        QVERIFY(!m_grid->Item(1)->Cleared());
        QCOMPARE(m_grid->Item(1)->Number, 2);
        QVERIFY(!m_grid->Item(1)->PictureV.isNull());
        QVERIFY(m_grid->Item(2)->Cleared());
    };
    load(entry({1, 1, 1}));
    verifyUnchanged();

    // A file of that name that is not a picture library is no library either.
    QFile file(LibraryName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a container");
    file.close();
    load(entry({1, 1, 1}));
    verifyUnchanged();
}

void TestLoadBoard::fontSymbolKeepsTheLowByte()
{
    setKinds(TBitmapList::KindFontSymbol);
    load(entry({300}));
    const TBitmapList* item = m_grid->Item(0);
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
    setKinds(TBitmapList::KindFontSymbol);
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
    setKinds(TBitmapList::KindMapSymbol);
    load(entry({101, 102}));
    const TBitmapList* square = m_grid->Item(0);
    QCOMPARE(square->ResourceName(), QStringLiteral("B101"));
    QCOMPARE(square->Text, QStringLiteral("Square map symbol"));
    QCOMPARE(square->AddText, QStringLiteral("Its picture already has the size of a cell."));
    QCOMPARE(square->PictureLarge.size(), QSize(113, 113));
    QVERIFY(uniform(square->PictureLarge, QRect(0, 0, 113, 113), SymbolGreen));
    QVERIFY(square->PictureV.isNull());

    // 60 by 150 pixels: cut at the bottom, widened with white at the right.
    const TBitmapList* tall = m_grid->Item(1);
    QCOMPARE(tall->ResourceName(), QStringLiteral("B102"));
    QCOMPARE(tall->PictureLarge.size(), QSize(113, 113));
    QVERIFY(uniform(tall->PictureLarge, QRect(0, 0, 60, 113), QColor(0xFF, 0, 0)));
    QVERIFY(uniform(tall->PictureLarge, QRect(60, 0, 53, 113), QColor(Qt::white)));
    verifyClearedFrom(2);
}

void TestLoadBoard::missingCellPictureEndsTheFillingQuietly()
{
    load(entry({1, 5, 2}));
    QCOMPARE(m_grid->Item(0)->Text, QStringLiteral("Blue picture"));
    const TBitmapList* item = m_grid->Item(1);
    QVERIFY(!item->Cleared());
    QCOMPARE(item->Number, 5);
    QCOMPARE(item->SymbolChar(), QString(QChar(5)));
    QCOMPARE(item->ResourceName(), QStringLiteral("V5"));
    QVERIFY(item->Text.isEmpty());
    QVERIFY(item->PictureV.isNull() && item->PictureI.isNull() && item->PictureN.isNull());
    verifyClearedFrom(2);
    QCOMPARE(m_grid->ClearedCount(), 13);
}

void TestLoadBoard::missingPictureThrows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<qint32>>("values");
    QTest::addColumn<QString>("missing");
    QTest::newRow("second picture") << 0 << QList<qint32>{1, 3, 2} << QStringLiteral("I3");
    QTest::newRow("third picture") << 0 << QList<qint32>{1, 4, 2} << QStringLiteral("N4");
    QTest::newRow("map-symbol picture") << 3 << QList<qint32>{101, 103, 102} << QStringLiteral("B103");
}

void TestLoadBoard::missingPictureThrows()
{
    QFETCH(int, kind);
    QFETCH(QList<qint32>, values);
    QFETCH(QString, missing);
    setKinds(static_cast<quint8>(kind));
    TTypesItem test = entry({});
    test.Values = values;
    try {
        load(test);
        QFAIL("no error");
    } catch (const AppError& error) {
        QCOMPARE(error.messageTemplate(), QString::fromLatin1(Msg::ResourceNotFound));
        QCOMPARE(error.arguments(), QStringList{missing});
    }
    // The items before keep their content, the failing one what it had received.
    QVERIFY(!m_grid->Item(0)->Cleared());
    QVERIFY(!m_grid->Item(0)->Text.isEmpty());
    const TBitmapList* failed = m_grid->Item(1);
    QVERIFY(!failed->Cleared());
    QCOMPARE(failed->Number, values.at(1));
    QVERIFY(!failed->Text.isEmpty());
    if (missing == QStringLiteral("I3")) {
        QCOMPARE(failed->PictureV.size(), QSize(100, 50));
        QVERIFY(failed->PictureI.isNull() && failed->PictureN.isNull());
    } else if (missing == QStringLiteral("N4")) {
        QCOMPARE(failed->PictureI.size(), QSize(42, 32));
        QVERIFY(failed->PictureN.isNull());
    } else {
        QCOMPARE(failed->ResourceName(), missing);
        QVERIFY(failed->PictureLarge.isNull());
    }
    verifyClearedFrom(2);
}

// The map excerpt and the ground sketch are decoded when first shown: a broken one loads and fails
// when it is looked at; the item's other pictures are unaffected.
void TestLoadBoard::brokenPictureFailsWhenShown()
{
    load(entry({1, 6, 2}));
    QCOMPARE(m_grid->ClearedCount(), 12);
    const TBitmapList* item = m_grid->Item(1);
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

void TestLoadBoard::missingOrBrokenTexts()
{
    // No text files for the language: the cells are loaded without texts.
    load(entry({1}), QStringLiteral("xyz"));
    QVERIFY(!m_grid->Item(0)->Cleared());
    QVERIFY(m_grid->Item(0)->Text.isEmpty());
    QVERIFY(m_grid->Item(0)->AddText.isEmpty());
    QCOMPARE(m_grid->Item(0)->PictureV.size(), QSize(180, 77));

    // A line that does not start with a number ends the loading.
    try {
        load(entry({2}), QStringLiteral("bad"));
        QFAIL("no error");
    } catch (const AppError& error) {
        QCOMPARE(error.messageTemplate(), QString::fromLatin1(Msg::InvalidNumericInput));
    }
}

QTEST_MAIN(TestLoadBoard)
#include "tst_loadboard.moc"
