// SPDX-License-Identifier: GPL-3.0-or-later
// The symbol grid under the mouse (hover text, bevel frame, presses) and its board operations
// (Shuffle, NextTarget).

#include "game/TMyDrawGrid.h"
#include "grid_helper.h"

#include <QSignalSpy>
#include <QtTest>
#include <random>

using namespace GridTest;

class TestGridPlay : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void frameFollowsTheMouse();
    void pressedFrameStaysSunkenUntilRelease();
    void pressesRaiseClickMyCell();
    void mouseMovesReachTheHoverListener();

    void shuffleMovesItemsWithTheirIndex();
    void shuffleReachesEveryCell();
    void shuffleLeavesItemsWithoutText();
    void nextTargetSkipsClearedAndEmptyCells();
    void nextTargetOnAClearedBoard();

private:
    std::unique_ptr<ShownGrid> m_board;
    TMyDrawGrid* m_grid = nullptr;
};

void TestGridPlay::init()
{
    m_board = std::make_unique<ShownGrid>(QFont());
    m_grid = m_board->grid();
}

void TestGridPlay::cleanup()
{
    // Nothing under the mouse or in a round may raise a message.
    QVERIFY(m_board->errors.isEmpty());
    m_board.reset();
    m_grid = nullptr;
}

void TestGridPlay::frameFollowsTheMouse()
{
    m_board->showPicture(0, QStringLiteral("V2"), QStringLiteral("First"));
    m_board->showPicture(4, QStringLiteral("V2"), QStringLiteral("Middle"));
    m_grid->Item(1)->Text = QStringLiteral("Found");
    const QRect middle = m_board->cell(1, 1);

    // Turning the bevel off and on before the mouse was over a cell shows no frame.
    m_grid->SetShowBevel(false);
    m_grid->SetShowBevel(true);
    QImage image = m_board->grab();
    QCOMPARE(countColor(image, image.rect(), Highlight) + countColor(image, image.rect(), Shadow), 0);

    QTest::mouseMove(m_grid, middle.center());
    QCOMPARE(m_grid->HoverText(), QStringLiteral("Middle"));
    image = m_board->grab();
    // Raised: highlight at the left and top, shadow right of and under the cell.
    QCOMPARE(pixelAt(image, middle.left(), middle.top() + 40), Highlight);
    QCOMPARE(pixelAt(image, middle.left() + 100, middle.top()), Highlight);
    QCOMPARE(pixelAt(image, middle.left() + middle.width(), middle.top() + 40), Shadow);
    QCOMPARE(pixelAt(image, middle.left() + 100, middle.top() + middle.height()), Shadow);

    // Over a cleared cell: its text, but no frame.
    QTest::mouseMove(m_grid, m_board->cell(1, 0).center());
    QCOMPARE(m_grid->HoverText(), QStringLiteral("Found"));
    image = m_board->grab();
    QCOMPARE(countColor(image, image.rect(), Highlight), 0);
    QCOMPARE(countColor(image, image.rect(), Shadow), 0);

    // Beyond the board: no text, no frame.
    QTest::mouseMove(m_grid, m_board->cell(0, 0).center());
    QVERIFY(!m_grid->findChild<QWidget*>(QStringLiteral("FrameLeft"))->isHidden());
    m_grid->resize(m_grid->width() + 50, m_grid->height());
    QTest::mouseMove(m_grid, QPoint(3 * Stride + 10, 10));
    QCOMPARE(m_grid->HoverText(), QString());
    QVERIFY(m_grid->findChild<QWidget*>(QStringLiteral("FrameLeft"))->isHidden());

    // Without the bevel no frame is shown.
    m_grid->SetShowBevel(false);
    QTest::mouseMove(m_grid, middle.center());
    QCOMPARE(m_grid->HoverText(), QStringLiteral("Middle"));
    QVERIFY(m_grid->findChild<QWidget*>(QStringLiteral("FrameTop"))->isHidden());
}

void TestGridPlay::pressedFrameStaysSunkenUntilRelease()
{
    m_board->showPicture(0, QStringLiteral("V2"), QStringLiteral("First"));
    m_board->showPicture(1, QStringLiteral("V2"), QStringLiteral("Second"));
    const QRect first = m_board->cell(0, 0);
    QWidget* left = m_grid->findChild<QWidget*>(QStringLiteral("FrameLeft"));

    QTest::mousePress(m_grid, Qt::LeftButton, {}, first.center());
    QVERIFY(m_grid->Pressed());
    QImage image = m_board->grab();
    QCOMPARE(pixelAt(image, first.left(), first.top() + 40), Shadow);
    QCOMPARE(pixelAt(image, first.left() + first.width(), first.top() + 40), Highlight);

    // While pressed the sunken frame stays on the pressed cell.
    QTest::mouseMove(m_grid, m_board->cell(1, 0).center());
    QCOMPARE(m_grid->HoverText(), QStringLiteral("Second"));
    QCOMPARE(left->geometry().topLeft(), first.topLeft());
    QCOMPARE(pixelAt(m_board->grab(), first.left(), first.top() + 40), Shadow);

    // The release raises the frame on the cell under the mouse.
    QTest::mouseRelease(m_grid, Qt::LeftButton, {}, m_board->cell(1, 0).center());
    QVERIFY(!m_grid->Pressed());
    QCOMPARE(left->geometry().topLeft(), m_board->cell(1, 0).topLeft());
    QCOMPARE(pixelAt(m_board->grab(), m_board->cell(1, 0).left(), 40), Highlight);

    // Clearing any item releases the press.
    QTest::mousePress(m_grid, Qt::LeftButton, {}, first.center());
    QVERIFY(m_grid->Pressed());
    m_grid->Item(9)->SetCleared(true);
    QVERIFY(!m_grid->Pressed());
    QTest::mouseRelease(m_grid, Qt::LeftButton, {}, first.center());
}

void TestGridPlay::pressesRaiseClickMyCell()
{
    QSignalSpy clicks(m_grid, &TMyDrawGrid::ClickMyCell);
    const QPoint inside = m_board->cell(2, 3).center();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        clicks.clear();
        QTest::mouseClick(m_grid, button, {}, inside);
        QCOMPARE(clicks.size(), 1);
        const QList<QVariant> args = clicks.constFirst();
        QCOMPARE(args.at(0).value<TMyDrawGrid*>(), m_grid);
        QCOMPARE(args.at(1).toInt(), 2);
        QCOMPARE(args.at(2).toInt(), 3);
        QCOMPARE(args.at(3).toInt(), 11);
        QCOMPARE(args.at(4).value<Qt::MouseButton>(), button);
    }
    // A cleared cell is pressed like any other.
    QVERIFY(m_grid->Item(11)->Cleared());

    // Through the window, so that the platform's double-click detection turns the second press
    // into a double click: press, release, double click, release.
    clicks.clear();
    QTest::mouseDClick(m_grid->windowHandle(), Qt::LeftButton, {}, m_board->cell(0, 0).center());
    QCOMPARE(clicks.size(), 2);

    // Beyond the last column and row.
    clicks.clear();
    m_grid->resize(m_grid->sizeHint() + QSize(50, 50));
    QTest::mouseClick(m_grid, Qt::LeftButton, {}, QPoint(3 * Stride + 10, 10));
    QTest::mouseClick(m_grid, Qt::LeftButton, {}, QPoint(10, 5 * RowStride + 10));
    QCOMPARE(clicks.size(), 0);
    QVERIFY(!m_grid->Pressed());
}

void TestGridPlay::mouseMovesReachTheHoverListener()
{
    m_board->showPicture(5, QStringLiteral("V2"), QStringLiteral("Hovered"));
    QString seen;
    QPoint where;
    connect(m_grid, &TMyDrawGrid::GridMouseMove, this, [&](Qt::KeyboardModifiers, int x, int y) {
        seen = m_grid->HoverText();
        where = QPoint(x, y);
    });
    const QPoint point = m_board->cell(2, 1).center();
    QTest::mouseMove(m_grid, point);
    QCOMPARE(where, point);
    QCOMPARE(seen, QStringLiteral("Hovered"));
}

void TestGridPlay::shuffleMovesItemsWithTheirIndex()
{
    for (int i = 0; i < m_grid->CellCount(); ++i)
        m_grid->Item(i)->Text = QString::number(i);
    CellItem* first = m_grid->Item(0);
    CellItem* last = m_grid->Item(14);
    {
        // One exchange of the first and the last cell, then exchanges of a cell with itself.
        const ScriptedRandom random({0, 14});
        m_grid->Shuffle();
    }
    QCOMPARE(m_grid->Item(14), first);
    QCOMPARE(m_grid->Item(0), last);
    QCOMPARE(first->Index(), 14);
    QCOMPARE(last->Index(), 0);
    QCOMPARE(m_grid->Item(7)->Text, QStringLiteral("7"));
}

void TestGridPlay::shuffleReachesEveryCell()
{
    const int n = m_grid->CellCount();
    for (int i = 0; i < n; ++i)
        m_grid->Item(i)->Text = QString::number(i);
    CellItem* first = m_grid->Item(0);
    CellItem* last = m_grid->Item(n - 1);
    std::mt19937 engine(20240611u);
    const ScriptedRandom random(
        [&engine](int range) { return std::uniform_int_distribution<int>(0, range - 1)(engine); });
    QSet<int> firstCells;
    QSet<int> lastCells;
    for (int round = 0; round < 200; ++round) {
        m_grid->Shuffle();
        QSet<QString> texts;
        for (int i = 0; i < n; ++i) {
            QCOMPARE(m_grid->Item(i)->Index(), i);
            texts.insert(m_grid->Item(i)->Text);
        }
        QCOMPARE(texts.size(), n); // still every item once
        firstCells.insert(first->Index());
        lastCells.insert(last->Index());
    }
    QCOMPARE(firstCells.size(), n);
    QCOMPARE(lastCells.size(), n);
}

void TestGridPlay::shuffleLeavesItemsWithoutText()
{
    QList<CellItem*> before;
    for (int i = 0; i < TMyDrawGrid::ItemCount; ++i)
        before.append(m_grid->Item(i));
    {
        const ScriptedRandom random({0, 5, 3, 9, 14, 1});
        m_grid->Shuffle();
    }
    for (int i = 0; i < TMyDrawGrid::ItemCount; ++i)
        QCOMPARE(m_grid->Item(i), before.at(i));

    // An item without text is moved only as the partner of one with text.
    m_grid->Item(5)->Text = QStringLiteral("Five");
    {
        const ScriptedRandom random({0, 5, 5, 2});
        m_grid->Shuffle();
    }
    QCOMPARE(m_grid->Item(2), before.at(5));
    QCOMPARE(m_grid->Item(5), before.at(2));
    QCOMPARE(m_grid->Item(0), before.at(0));
}

void TestGridPlay::nextTargetSkipsClearedAndEmptyCells()
{
    for (int i = 0; i < m_grid->CellCount(); ++i)
        m_grid->Item(i)->Text = QStringLiteral("Cell %1").arg(i);
    // Cell 3 is uncleared but has no text (a board that was never loaded); cell 7 is the only
    // real target.
    m_grid->Item(3)->SetCleared(false);
    m_grid->Item(3)->Text.clear();
    m_grid->Item(7)->SetCleared(false);
    {
        const ScriptedRandom random({0, 3, 1, 7, 7});
        QCOMPARE(m_grid->NextTarget(), QStringLiteral("Cell 7"));
    }
    QCOMPARE(m_grid->TargetIndex(), 7);

    // A source that keeps drawing an unusable cell does not hang the search.
    {
        const ScriptedRandom random({}, 3);
        QCOMPARE(m_grid->NextTarget(), QStringLiteral("Cell 7"));
    }

    // Uncleared cells, none with a text: no target, and the old one stays.
    m_grid->Item(7)->Text.clear();
    QCOMPARE(m_grid->NextTarget(), QString());
    QCOMPARE(m_grid->TargetIndex(), 7);
}

void TestGridPlay::nextTargetOnAClearedBoard()
{
    m_board->showPicture(2, QStringLiteral("V1"), QStringLiteral("Only"));
    QCOMPARE(m_grid->NextTarget(), QStringLiteral("Only"));
    QCOMPARE(m_grid->TargetIndex(), 2);
    QCOMPARE(m_grid->ClearedCount(), 14);
    m_grid->Item(2)->SetCleared(true);
    QCOMPARE(m_grid->ClearedCount(), 15);
    QCOMPARE(m_grid->NextTarget(), QString());
    QCOMPARE(m_grid->TargetIndex(), 2);
    // Items beyond the board do not count.
    m_grid->Item(20)->SetCleared(false);
    QCOMPARE(m_grid->ClearedCount(), 15);
}

QTEST_MAIN(TestGridPlay)
#include "tst_gridplay.moc"
