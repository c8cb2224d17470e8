// SPDX-License-Identifier: GPL-3.0-or-later
// The symbol grid's geometry and cell painting: pictures, text help, text-only cells, grid lines,
// paint failures and which setters repaint what.

#include "game/TMyDrawGrid.h"
#include "grid_helper.h"

#include <QDir>
#include <QFontDatabase>
#include <QPainter>
#include <QtTest>

using namespace GridTest;

namespace {
// Records the region of every paint of a widget.
class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QList<QRegion> regions;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            regions.append(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
};
} // namespace

class TestGrid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void classDefaults();
    void cellGeometry();
    void cellIndex_data();
    void cellIndex();
    void itemsAreStampedWithTheirIndex();

    void withoutListenerNothingIsPainted();
    void unscaledPictureLeavesStripsInGridColour();
    void stretchedPictureFillsTheCell();
    void clearedCellIsBlank();
    void gridLinesAndSilverGrid();
    void textOnlyCellWrapsAndKeepsAmpersands();
    void shortenedTextHelp_data();
    void shortenedTextHelp();
    void textHelpIsShortenedAtTheColumnWidth();
    void missingPictureStopsThePaintAndReports();
    void repaintRules();

private:
    QString m_monoFamily;
    std::unique_ptr<ShownGrid> m_board;
    TMyDrawGrid* m_grid = nullptr;
};

void TestGrid::initTestCase()
{
    const int id = QFontDatabase::addApplicationFont(
        QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"));
    if (id < 0)
        QSKIP("DejaVu Sans Mono (fonts-dejavu-core) is needed for the text measurements");
    m_monoFamily = QFontDatabase::applicationFontFamilies(id).value(0);
}

void TestGrid::init()
{
    QFont text(m_monoFamily);
    text.setPixelSize(13);
    m_board = std::make_unique<ShownGrid>(text);
    m_grid = m_board->grid();
}

void TestGrid::cleanup()
{
    m_board.reset();
    m_grid = nullptr;
}

void TestGrid::classDefaults()
{
    TMyDrawGrid grid;
    QCOMPARE(grid.ColCount(), 3);
    QCOMPARE(grid.RowCount(), 5);
    QCOMPARE(grid.DefaultColWidth(), 113);
    QCOMPARE(grid.DefaultRowHeight(), 113);
    QCOMPARE(grid.GridLineWidth(), 5);
    QCOMPARE(grid.GridLineColor(), QColor(Qt::white));
    QCOMPARE(grid.Color(), grid.palette().color(QPalette::Base));
    QCOMPARE(grid.FontTextColor(), grid.palette().color(QPalette::WindowText));
    QVERIFY(!grid.DefaultDrawing());
    QVERIFY(grid.ShowBevel());
    QVERIFY(!grid.StretchImg());
    QVERIFY(grid.ShowTextHelp());
    QVERIFY(!grid.ShowTextOnly());
    QCOMPARE(grid.CellCount(), 15);
    QCOMPARE(grid.ClearedCount(), 0);
    QVERIFY(grid.Item(99));
    QVERIFY(!grid.Item(100));
    QVERIFY(!grid.Item(-1));
    for (const char* name : {"FrameLeft", "FrameTop", "FrameRight", "FrameBottom"})
        QVERIFY(grid.findChild<QWidget*>(QString::fromLatin1(name))->isHidden());

    // The screen descriptions set these by name.
    QVERIFY(grid.setProperty("ColCount", 4));
    QVERIFY(grid.setProperty("StretchImg", true));
    QVERIFY(grid.setProperty("FontSymbolsColor", QColor(Qt::green)));
    QCOMPARE(grid.ColCount(), 4);
    QVERIFY(grid.StretchImg());
    QCOMPARE(grid.FontSymbolsColor(), QColor(Qt::green));
    grid.SetColCount(0);
    grid.SetRowCount(-3);
    QCOMPARE(grid.CellCount(), 1);
}

void TestGrid::cellGeometry()
{
    QCOMPARE(m_board->cell(0, 0), QRect(0, 0, CellWidth, CellHeight));
    QCOMPARE(m_board->cell(2, 4), QRect(2 * Stride, 4 * RowStride, CellWidth, CellHeight));
    QVERIFY(m_board->cell(3, 0).isEmpty());
    QVERIFY(m_board->cell(0, 5).isEmpty());
    // The main window's page: three whole columns, the fifth row cut.
    m_grid->resize(605, 402);
    QCOMPARE(m_grid->VisibleColCount(), 3);
    QCOMPARE(m_grid->VisibleRowCount(), 4);
    // A grid line belongs to the cell left of it.
    QCOMPARE(m_grid->CellIndexAt(CellWidth + LineWidth - 1, 0), 0);
    QCOMPARE(m_grid->CellIndexAt(Stride, 0), 1);
    QCOMPARE(m_grid->CellIndexAt(3 * Stride, 0), -1);
    QCOMPARE(m_grid->CellIndexAt(0, 5 * RowStride), -1);
    QCOMPARE(m_grid->CellIndexAt(-1, 0), -1);
}

void TestGrid::cellIndex_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("index");
    QTest::newRow("first") << 0 << 0 << 0;
    QTest::newRow("second row") << 0 << 1 << 3;
    QTest::newRow("last") << 2 << 4 << 14;
    QTest::newRow("column past the board") << 3 << 0 << -1;
    QTest::newRow("row past the board") << 0 << 5 << -1;
    QTest::newRow("negative column") << -1 << 0 << -1;
    QTest::newRow("negative row") << 0 << -1 << -1;
}

void TestGrid::cellIndex()
{
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(int, index);
    QCOMPARE(m_grid->CellIndex(col, row), index);
}

void TestGrid::itemsAreStampedWithTheirIndex()
{
    CellItem* first = m_grid->Item(0);
    CellItem* last = m_grid->Item(99);
    m_grid->SetItem(7, first);
    QCOMPARE(first->Index(), 7);
    QCOMPARE(m_grid->Item(7), first);
    m_grid->SetItem(0, last);
    QCOMPARE(last->Index(), 0);
    QCOMPARE(m_grid->Item(0), last);
    QCOMPARE(first->parent(), m_grid);
}

void TestGrid::withoutListenerNothingIsPainted()
{
    m_board->showPicture(0, QStringLiteral("V1"));
    QVERIFY(countColor(m_board->grab(), m_board->cell(0, 0), Blue) > 0);

    disconnect(m_grid, &TMyDrawGrid::DrawCell, nullptr, nullptr);
    const QImage image = m_board->grab();
    QVERIFY(uniform(image, m_board->cell(0, 0), GridColor));
    // The lines are the grid's own, not the cells'.
    QCOMPARE(pixelAt(image, CellWidth, 10), LineColor);
    QVERIFY(m_board->errors.isEmpty());
}

void TestGrid::unscaledPictureLeavesStripsInGridColour()
{
    m_board->showPicture(4, QStringLiteral("V1"));
    const QRect rect = m_board->cell(1, 1);
    const QImage image = m_board->grab();
    QVERIFY(uniform(image, QRect(rect.topLeft(), QSize(180, 77)), Blue));
    QVERIFY(uniform(image, QRect(rect.left() + 180, rect.top(), 10, CellHeight), GridColor));
    QVERIFY(uniform(image, QRect(rect.left(), rect.top() + 77, CellWidth, 3), GridColor));
}

void TestGrid::stretchedPictureFillsTheCell()
{
    m_grid->SetStretchImg(true);
    m_board->showPicture(0, QStringLiteral("V2"));
    QVERIFY(uniform(m_board->grab(), m_board->cell(0, 0), Red));
}

void TestGrid::clearedCellIsBlank()
{
    m_grid->SetShowTextHelp(true);
    m_board->showPicture(0, QStringLiteral("V1"), QStringLiteral("Boulder"));
    QVERIFY(countColor(m_board->grab(), m_board->cell(0, 0), Blue) > 0);
    m_grid->Item(0)->SetCleared(true);
    QVERIFY(uniform(m_board->grab(), m_board->cell(0, 0), GridColor));
}

void TestGrid::gridLinesAndSilverGrid()
{
    QImage image = m_board->grab();
    QVERIFY(uniform(image, QRect(CellWidth, 0, LineWidth, 5 * RowStride), LineColor));
    QVERIFY(uniform(image, QRect(0, CellHeight, 3 * Stride, LineWidth), LineColor));
    QVERIFY(uniform(image, m_board->cell(1, 1), GridColor));

    m_grid->SetColor(QColor(0xC0, 0xC0, 0xC0));
    image = m_board->grab();
    QCOMPARE(pixelAt(image, CellWidth + 2, 10), QColor(0x80, 0x80, 0x80));
    QCOMPARE(pixelAt(image, 10, CellHeight + 2), QColor(0x80, 0x80, 0x80));

    m_grid->SetColor(GridColor);
    m_grid->SetGridLineWidth(0);
    image = m_board->grab();
    QCOMPARE(countColor(image, image.rect(), LineColor), 0);
    QCOMPARE(m_grid->CellIndexAt(CellWidth, 0), 1);
}

void TestGrid::textOnlyCellWrapsAndKeepsAmpersands()
{
    m_grid->SetShowTextOnly(true);
    m_grid->SetShowTextHelp(true);
    const QString text = QStringLiteral("R&D");
    m_board->showPicture(0, QStringLiteral("V1"), text);
    m_board->showPicture(1, QStringLiteral("V1"),
                         QStringLiteral("A long description that takes several lines"));
    const QImage image = m_board->grab();
    const QRect rect = m_board->cell(0, 0);
    QCOMPARE(countColor(image, rect, Blue), 0);

    // The text as drawn with its ampersand, in the middle of the cell, and no help line under it.
    const auto drawn = [this](const QString& t) {
        QImage expected(QSize(CellWidth, CellHeight), QImage::Format_RGB32);
        expected.fill(GridColor);
        QPainter painter(&expected);
        painter.setFont(m_grid->FontText());
        painter.setPen(TextColor);
        painter.drawText(expected.rect(), Qt::AlignCenter | Qt::TextWordWrap, t);
        return expected;
    };
    QCOMPARE(image.copy(rect), drawn(text));
    // the long text wraps onto further lines, centred too
    QCOMPARE(image.copy(m_board->cell(1, 0)),
             drawn(QStringLiteral("A long description that takes several lines")));
    const int lineHeight = QFontMetrics(m_grid->FontText()).height();
    QVERIFY(!uniform(image, QRect(Stride, CellHeight / 2 - lineHeight, CellWidth, lineHeight), GridColor));
    QVERIFY(!uniform(image, QRect(Stride, CellHeight / 2, CellWidth, lineHeight), GridColor));
}

void TestGrid::shortenedTextHelp_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("columns"); // the column width in character advances
    QTest::addColumn<int>("extra");   // pixels added to that width
    QTest::addColumn<QString>("result");
    QTest::newRow("narrower by a pixel")
        << QStringLiteral("abcdefghij") << 10 << 1 << QStringLiteral("abcdefghij");
    QTest::newRow("exactly as wide") << QStringLiteral("abcdefghij") << 10 << 0 << QStringLiteral("abcd...");
    QTest::newRow("one character wider")
        << QStringLiteral("abcdefghijk") << 10 << 1 << QStringLiteral("abcde...");
    QTest::newRow("much wider") << QStringLiteral("abcdefghijklmnopqrstuvwxyz") << 10 << 0
                                << QStringLiteral("abcd...");
    QTest::newRow("too narrow for dots") << QStringLiteral("abc") << 2 << 0 << QStringLiteral("a...");
    QTest::newRow("empty") << QString() << 10 << 0 << QString();
}

void TestGrid::shortenedTextHelp()
{
    QFETCH(QString, text);
    QFETCH(int, columns);
    QFETCH(int, extra);
    QFETCH(QString, result);
    QFont font(m_monoFamily);
    font.setPixelSize(13);
    font.setHintingPreference(QFont::PreferFullHinting); // whole-pixel advances
    const QFontMetrics metrics(font);
    const int advance = metrics.horizontalAdvance(QLatin1Char('a'));
    if (metrics.horizontalAdvance(QStringLiteral("abcdefghijklmnopqrstuvwxyz")) != 26 * advance)
        QSKIP("the monospaced font does not advance by whole pixels");
    QCOMPARE(TMyDrawGrid::ShortenedTextHelp(text, metrics, columns * advance + extra), result);
}

void TestGrid::textHelpIsShortenedAtTheColumnWidth()
{
    // A proportional font and a column exactly as wide as the text, then one pixel wider.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    m_grid->SetFontText(font);
    m_grid->SetShowTextHelp(true);
    const QString text = QStringLiteral("Boulder field, north side");
    m_board->showPicture(0, QStringLiteral("V2"), text);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);

    const auto helpLine = [&](const QString& line) {
        // The line on the grid's colour, 20 pixels above the cell's bottom, over the red picture.
        QImage expected(m_grid->DefaultColWidth(), CellHeight, QImage::Format_RGB32);
        expected.fill(GridColor);
        QPainter painter(&expected);
        painter.fillRect(0, 0, 100, 50, Red);
        painter.setFont(font);
        painter.setPen(TextColor);
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(GridColor);
        painter.drawText(QPoint(0, CellHeight - 20 + metrics.ascent()), line);
        return expected;
    };
    const auto shownLine = [&] {
        const QImage image = m_board->grab();
        return image.copy(m_grid->CellBounds(0, 0));
    };

    m_grid->SetDefaultColWidth(width);
    const QImage shortened = shownLine();
    QVERIFY(shortened != helpLine(text));
    // Two characters at a time come off until the rest leaves room for four dots.
    QString expected = text;
    while (metrics.horizontalAdvance(expected) >= width - metrics.horizontalAdvance(QStringLiteral("....")))
        expected.chop(2);
    QCOMPARE(shortened, helpLine(expected + QStringLiteral("...")));

    m_grid->SetDefaultColWidth(width + 1);
    QCOMPARE(shownLine(), helpLine(text));
}

void TestGrid::missingPictureStopsThePaintAndReports()
{
    // Every paint of the broken cell reports it again, so the messages are checked as a set.
    const auto reported = [this] { return QSet<QString>(m_board->errors.cbegin(), m_board->errors.cend()); };
    m_board->showPicture(0, QStringLiteral("V9"));
    m_board->showPicture(1, QStringLiteral("V1"));
    const QImage image = m_board->grab();
    // The paint ends at the broken first cell: the second cell is not painted.
    QCOMPARE(countColor(image, m_board->cell(1, 0), Blue), 0);
    QTRY_VERIFY(!m_board->errors.isEmpty());
    const auto inFile = [](const char* name) -> QString {
        return QStringLiteral("\nFile: ") + QDir::current().absoluteFilePath(QString::fromLatin1(name));
    };
    QCOMPARE(reported(), QSet<QString>{QStringLiteral("Resource V9 not found.") + inFile("Bitm1.dll")});

    // A library that is not there fails the same way.
    m_board->showPicture(0, QStringLiteral("V1"));
    m_grid->Item(0)->SetLibraryName(QStringLiteral("Missing.dll"));
    QCoreApplication::processEvents();
    m_board->errors.clear();
    m_grid->grab();
    QTRY_VERIFY(!m_board->errors.isEmpty());
    QCOMPARE(reported(), QSet<QString>{QStringLiteral("Resource V1 not found.") + inFile("Missing.dll")});
}

void TestGrid::repaintRules()
{
    m_board->showPicture(4, QStringLiteral("V1"));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    PaintRecorder recorder(m_grid);

    // An item's setter repaints its own cell only.
    m_grid->Item(4)->SetCleared(true);
    QTRY_VERIFY(!recorder.regions.isEmpty());
    QCOMPARE(recorder.regions.constFirst(), QRegion(m_board->cell(1, 1)));

    // Fonts take effect at the next paint.
    recorder.regions.clear();
    QFont bigger = m_grid->FontText();
    bigger.setPixelSize(20);
    m_grid->SetFontText(bigger);
    m_grid->SetFontSymbols(bigger);
    m_grid->Item(4)->Text = QStringLiteral("Changed without a repaint");
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(recorder.regions.isEmpty());

    // The display options repaint the whole grid.
    m_grid->SetShowTextOnly(true);
    QTRY_VERIFY(!recorder.regions.isEmpty());
    QCOMPARE(recorder.regions.constLast(), QRegion(m_grid->rect()));
    recorder.regions.clear();
    m_grid->SetShowTextOnly(true); // unchanged
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(recorder.regions.isEmpty());
    m_grid->SetStretchImg(true);
    QTRY_VERIFY(!recorder.regions.isEmpty());
    QCOMPARE(recorder.regions.constLast(), QRegion(m_grid->rect()));
}

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
