// SPDX-License-Identifier: GPL-3.0-or-later
// The round's rules on a board of plain cells: no widget, no font, no content file.
#include "game/RoundModel.h"
#include "platform/Clock.h"
#include "platform/Random.h"

#include <QSignalSpy>
#include <QTest>

namespace {
constexpr double Second = 1.0 / 86400.0;
constexpr double T0 = 46000.5; // some afternoon

QList<BoardCell> board(std::initializer_list<const char*> names)
{
    QList<BoardCell> cells;
    for (const char* name : names)
        cells.append({100 + static_cast<qint32>(cells.size()), QString::fromLatin1(name), {}, false});
    return cells;
}
} // namespace

class TestRoundModel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { setRandomOverride({}); }
    void anyCellOfTheTargetsNameIsRight();
    void wrongPressesAreCountedAndNamed();
    void lastRightPressEndsTheRoundWithItsValue();
    void pausesCountNeitherForTheRoundNorForTheAnswer();
    void practiceAndFinishedRoundsJudgeNothing();

private:
    // Draws cells in order: 0, 1, 2, ...
    int m_next = 0;
    RoundModel m_round;
};

void TestRoundModel::init()
{
    m_next = 0;
    setRandomOverride([this](int n) { return n > 0 ? m_next++ % n : 0; });
}

void TestRoundModel::anyCellOfTheTargetsNameIsRight()
{
    QSignalSpy answered(&m_round, &RoundModel::answered);
    m_round.start({SymbolKind::Description, true}, board({"Knoll", "Pit", "Knoll"}), T0);
    QCOMPARE(m_round.target(), 0);
    // the third cell bears the target's name too: it is a right answer
    QCOMPARE(m_round.press(2, T0 + 2 * Second), RoundModel::Verdict::Right);
    QVERIFY(m_round.cells()[2].cleared);
    QCOMPARE(answered.size(), 1);
    QCOMPARE(answered[0][0].toInt(), 100); // the target's number
    QCOMPARE(answered[0][1].toInt(), 102); // the pressed cell's
    QCOMPARE(answered[0][2].toBool(), true);
    QCOMPARE(answered[0][3].toLongLong(), 2000);
    // a cleared cell is no answer any more
    QCOMPARE(m_round.press(2, T0 + 3 * Second), RoundModel::Verdict::Ignored);
    QCOMPARE(m_round.summary().presses, 1);
}

void TestRoundModel::wrongPressesAreCountedAndNamed()
{
    QSignalSpy errors(&m_round, &RoundModel::errorCounted);
    m_round.start({SymbolKind::MapSymbol, true}, board({"Knoll", "Pit", "Cliff"}), T0);
    QCOMPARE(m_round.press(1, T0 + Second), RoundModel::Verdict::Wrong);
    QCOMPARE(m_round.press(2, T0 + 2 * Second), RoundModel::Verdict::Wrong);
    QCOMPARE(m_round.errors(), 2);
    QCOMPARE(errors.last()[0].toInt(), 2);
    // the target stays until it is found; its misses are one missed symbol, naming the last press
    QCOMPARE(m_round.targetText(), QStringLiteral("Knoll"));
    QCOMPARE(m_round.summary().missed.size(), 1);
    QCOMPARE(m_round.summary().missed[0].name, QStringLiteral("Knoll"));
    QCOMPARE(m_round.summary().missed[0].pressedName, QStringLiteral("Cliff"));
    QCOMPARE(m_round.summary().missed[0].wrongPresses, 2);
    QCOMPARE(m_round.summary().kind, SymbolKind::MapSymbol);
}

void TestRoundModel::lastRightPressEndsTheRoundWithItsValue()
{
    QSignalSpy ended(&m_round, &RoundModel::roundEnded);
    QSignalSpy targets(&m_round, &RoundModel::targetChanged);
    m_round.start({SymbolKind::Line, true}, board({"A", "B", ""}), T0);
    QCOMPARE(m_round.press(1, T0 + Second), RoundModel::Verdict::Wrong);
    QCOMPARE(m_round.press(0, T0 + 2 * Second), RoundModel::Verdict::Right);
    // a cell without a name is never a target
    QCOMPARE(m_round.targetText(), QStringLiteral("B"));
    QCOMPARE(ended.size(), 0);
    QCOMPARE(m_round.press(1, T0 + 5.5 * Second), RoundModel::Verdict::Right);
    QCOMPARE(targets.size(), 2);
    QCOMPARE(ended.size(), 1);
    QCOMPARE(m_round.state(), RoundModel::Finished);
    const auto round = ended[0][0].value<FinishedRound>();
    QCOMPARE(qRound64(round.time * MsPerDay), 5500);
    QCOMPARE(round.errors, 1);
    QCOMPARE(round.summary.found, 2);
    QCOMPARE(round.summary.presses, 3);
    QCOMPARE(round.summary.accuracyPercent(), 67);
    // the time stays the round's after its end
    QCOMPARE(qRound64(m_round.elapsed(T0 + 60 * Second) * MsPerDay), 5500);
}

void TestRoundModel::pausesCountNeitherForTheRoundNorForTheAnswer()
{
    QSignalSpy answered(&m_round, &RoundModel::answered);
    m_round.start({SymbolKind::Description, true}, board({"A", "B"}), T0);
    m_round.pause(T0 + 1 * Second);
    // a paused round judges nothing
    QCOMPARE(m_round.press(0, T0 + 5 * Second), RoundModel::Verdict::Ignored);
    m_round.resume(T0 + 11 * Second);
    QCOMPARE(qRound64(m_round.elapsed(T0 + 11 * Second) * MsPerDay), 1000);
    QCOMPARE(m_round.press(0, T0 + 12.25 * Second), RoundModel::Verdict::Right);
    QCOMPARE(answered[0][3].toLongLong(), 2250);
    m_round.abandon(T0 + 13 * Second);
    QCOMPARE(qRound64(m_round.elapsed(T0 + 20 * Second) * MsPerDay), 3000);
}

void TestRoundModel::practiceAndFinishedRoundsJudgeNothing()
{
    QSignalSpy answered(&m_round, &RoundModel::answered);
    m_round.start({SymbolKind::Description, false}, board({"A", "B"}), T0);
    QCOMPARE(m_round.press(0, T0 + Second), RoundModel::Verdict::Ignored);
    m_round.start({SymbolKind::Description, true}, board({"A"}), T0);
    QCOMPARE(m_round.press(0, T0 + Second), RoundModel::Verdict::Right);
    QCOMPARE(m_round.press(0, T0 + Second), RoundModel::Verdict::Ignored);
    QCOMPARE(answered.size(), 1);
    QCOMPARE(m_round.errors(), 0);
}

QTEST_GUILESS_MAIN(TestRoundModel)
#include "tst_roundmodel.moc"
