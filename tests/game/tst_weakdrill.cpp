// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the weak-symbol drill, on answers kept by a real store under the program's clock:
// which symbols are due, their order, the look-alikes that fill the board, and what the drill says
// when it has nothing to offer.
#include "common/TempWorkDir.h"
#include "game/WeakSymbolDrill.h"
#include "platform/Clock.h"
#include "results/AnswerStore.h"

#include <QTest>

namespace {
constexpr double Today = 45300.5; // noon
constexpr double Hour = 1.0 / 24;
constexpr quint8 TestMode = 3;
} // namespace

class TestWeakDrill : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void wrongYesterdayIsDueRightFiveTimesIsNot();
    void lowestBoxFirstThenLookAlikesUpToFifteen();
    void withoutHistoryOrWithNothingDue();

private:
    // One round of presses, each (target, pressed) at `when`.
    void play(double when, const QList<std::pair<qint32, qint32>>& presses,
              SymbolKind kind = SymbolKind::Description);
    QDate today() const { return dateOfDays(Today); }

    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<AnswerStore> m_store;
};

void TestWeakDrill::init()
{
    m_dir = std::make_unique<TempWorkDir>();
    m_store = std::make_unique<AnswerStore>(m_dir->path());
    m_store->open();
}

void TestWeakDrill::cleanup()
{
    m_store.reset();
    m_dir.reset();
}

void TestWeakDrill::play(double when, const QList<std::pair<qint32, qint32>>& presses, SymbolKind kind)
{
    m_store->beginRound(TestMode, kind, 101, when);
    for (const auto& [target, pressed] : presses)
        m_store->record(target, pressed, target == pressed, 900, when);
    m_store->endRound(true, 10000, when);
}

void TestWeakDrill::wrongYesterdayIsDueRightFiveTimesIsNot()
{
    // 44 is answered right on five days in a row; 45 wrong yesterday evening, after a right answer
    for (int d = 5; d >= 1; --d)
        play(Today - d, {{44, 44}});
    play(Today - 3, {{45, 45}});
    play(Today - 1 + 8 * Hour, {{45, 50}});
    const WeakSymbolDrill::Board board =
        WeakSymbolDrill::buildBoard(*m_store, SymbolKind::Description, today());
    QCOMPARE(board.status, WeakSymbolDrill::Board::Ready);
    // 45 and its look-alike 50 (pressed for it); 44 sits in box 6 and waits 32 days
    QCOMPARE(board.values, (QList<qint32>{45, 50}));
    const QList<SymbolStats> stats = m_store->symbols(SymbolKind::Description);
    QCOMPARE(stats.at(0).value, 44);
    QCOMPARE(stats.at(0).box, 6);
    QCOMPARE(stats.at(0).dueDate(), dateOfDays(Today - 1).addDays(32));
    // the same answers of another kind leave this kind's drill alone
    play(Today - 1, {{44, 45}}, SymbolKind::MapSymbol);
    QCOMPARE(WeakSymbolDrill::buildBoard(*m_store, SymbolKind::Description, today()).values,
             (QList<qint32>{45, 50}));
}

void TestWeakDrill::lowestBoxFirstThenLookAlikesUpToFifteen()
{
    // 20 symbols wrong two days ago (box 1), 30 and 31 right four days ago (box 2, due now)
    QList<std::pair<qint32, qint32>> presses;
    for (qint32 v = 1; v <= 20; ++v)
        presses.append({v, v + 100});
    play(Today - 2, presses);
    play(Today - 4, {{30, 30}, {31, 31}});
    const WeakSymbolDrill::Board full =
        WeakSymbolDrill::buildBoard(*m_store, SymbolKind::Description, today());
    QCOMPARE(full.values.size(), WeakSymbolDrill::BoardCells);
    for (const qint32 v : full.values)
        QVERIFY2(v >= 1 && v <= 20, qPrintable(QString::number(v))); // box 1 before box 2

    // few due symbols: box 1 first, then box 2, then the look-alikes, most confused first
    init();
    play(Today - 4, {{30, 30}});
    play(Today - 2, {{7, 8}, {7, 9}, {7, 9}, {7, 9}, {8, 7}});
    play(Today - 2, {{7, 7}, {8, 8}});
    const WeakSymbolDrill::Board few =
        WeakSymbolDrill::buildBoard(*m_store, SymbolKind::Description, today());
    // 7 and 8 were wrong, then right: box 2 like 30, which has been due longer
    QCOMPARE(few.values, (QList<qint32>{30, 7, 8, 9}));
}

void TestWeakDrill::withoutHistoryOrWithNothingDue()
{
    QCOMPARE(WeakSymbolDrill::buildBoard(*m_store, SymbolKind::Line, today()).status,
             WeakSymbolDrill::Board::NoHistory);
    play(Today - 1, {{1001, 1001}}, SymbolKind::Line);
    const WeakSymbolDrill::Board board = WeakSymbolDrill::buildBoard(*m_store, SymbolKind::Line, today());
    QCOMPARE(board.status, WeakSymbolDrill::Board::NothingDue);
    QVERIFY(board.values.isEmpty());
    QCOMPARE(board.nextDue, today().addDays(1));
}

QTEST_GUILESS_MAIN(TestWeakDrill)
#include "tst_weakdrill.moc"
