// SPDX-License-Identifier: GPL-3.0-or-later
// The game round on its own: a fake window host, free-standing controls and a grid loaded from the
// fixture content. The rules of each of the six game modes: what a hover shows, what a press does.

#include "content/Language.h"
#include "game/CellItem.h"
#include "game/GameRound.h"
#include "game/Modes.h"
#include "game/RoundHost.h"
#include "game/TMyDrawGrid.h"
#include "grid_helper.h"
#include "platform/Clock.h"
#include "widgets/TGauge.h"

#include <QFontDatabase>
#include <QLabel>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>
#include <cmath>

using namespace GridTest;

namespace {

// The window a round runs in, reduced to what the round asks of it.
class FakeHost : public RoundHost
{
public:
    quint8 CurrentMode() const override { return mode; }
    void setCurrentMode(quint8 m) override { mode = m; }
    void ShowMode() override {}
    void returnToMainMenu() override
    {
        mode = Mode::MainMenu;
        ++mainMenus;
    }
    void SetErrorCount(int n) override { errors = n; }
    void SetProgress(int n) override { progress = n; }
    int Progress() const override { return progress; }
    int MainMenuWidth() const override { return 100; }
    void showHelpFor(int cell) override { helpCell = cell; }
    void closeHelp() override { helpCell = -1; }
    int helpShownIndex() const override { return helpCell; }

    quint8 mode = Mode::MainMenu;
    int errors = 0;
    int progress = 0;
    int mainMenus = 0;
    int helpCell = -1;
};

// Whether `label` shows exactly `image` (or nothing, for a null image).
bool shows(const QLabel* label, const QImage& image)
{
    const QPixmap shown = label->pixmap();
    if (image.isNull())
        return shown.isNull();
    return !shown.isNull() && shown.toImage().convertToFormat(QImage::Format_RGB32) ==
                                  image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestGameRound : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void hoverRules_data();
    void hoverRules();
    void practicePressOpensAndClosesHelp();
    void timedPressJudgesAndAdvances();
    void combinationTestPlayedToTheEnd();
    void clockCountsThePlayedTimeToTheMillisecond();
    void finishedRoundCannotBeResumed();

private:
    // Loads the values as a board of `mode` and starts a round.
    void start(quint8 mode, const QList<qint32>& values);
    QPoint centre(int index) const
    {
        return m_grid->CellBounds(index % m_grid->ColCount(), index / m_grid->ColCount()).center();
    }
    void click(int index) { QTest::mouseClick(m_grid, Qt::LeftButton, {}, centre(index)); }
    int cellWithText(const QString& text, bool other = false) const
    {
        for (int i = 0; i < m_grid->CellCount(); ++i) {
            const CellItem* item = m_grid->Item(i);
            if (!item->Cleared() && (item->Text == text) != other)
                return i;
        }
        return -1;
    }

    QString m_symbolFamily;
    std::unique_ptr<FixtureFolder> m_folder;
    std::unique_ptr<QWidget> m_window;
    TMyDrawGrid* m_grid = nullptr;
    RoundControls m_c;
    FakeHost m_host;
    std::unique_ptr<GameRound> m_round;
};

void TestGameRound::initTestCase()
{
    // A stand-in for the symbol font: any font with the glyphs the fixture's symbols use.
    const int id =
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    if (id < 0)
        QSKIP("DejaVu Sans (fonts-dejavu-core) is needed to draw font symbols");
    m_symbolFamily = QFontDatabase::applicationFontFamilies(id).value(0);
}

void TestGameRound::init()
{
    m_folder = std::make_unique<FixtureFolder>();
    m_window = std::make_unique<QWidget>();
    auto* pages = new QStackedWidget(m_window.get());
    auto* gamePage = new QWidget(pages);
    pages->addWidget(gamePage);
    m_grid = new TMyDrawGrid(gamePage);
    m_grid->SetDefaultColWidth(CellWidth);
    m_grid->SetDefaultRowHeight(CellHeight);
    m_grid->SetColCount(3);
    m_grid->SetRowCount(5);
    QFont symbols(m_symbolFamily);
    symbols.setPixelSize(64);
    m_grid->SetFontSymbols(symbols);
    m_grid->resize(m_grid->sizeHint());
    const auto label = [this] { return new QLabel(m_window.get()); };
    m_c = {};
    m_c.title = label();
    m_c.leftPicture = label();
    m_c.textModePicture = label();
    m_c.rightPicture = label();
    m_c.clock = label();
    m_c.errorsLabel = label();
    m_c.errorCount = label();
    m_c.pausedLabel = label();
    m_c.gauge = new TGauge(m_window.get());
    for (QWidget** button : {&m_c.pauseButton, &m_c.nextButton, &m_c.backButton, &m_c.mainMenuButton,
                             &m_c.settingsButton, &m_c.resultsButton})
        *button = new QWidget(m_window.get());
    m_c.pages = pages;
    m_c.gamePage = gamePage;
    m_c.grid = m_grid;
    m_host = FakeHost();
    m_round = std::make_unique<GameRound>(m_host, m_c);
    connect(m_grid, &TMyDrawGrid::GridMouseMove, m_round.get(),
            [this](Qt::KeyboardModifiers, int x, int y) { m_round->hover(x, y); });
    connect(m_grid, &TMyDrawGrid::ClickMyCell, m_round.get(),
            [this](TMyDrawGrid*, int, int, int index, Qt::MouseButton) { m_round->press(index); });
    m_window->resize(700, 500);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestGameRound::cleanup()
{
    setClockOverride({});
    m_round.reset();
    m_window.reset();
    m_folder.reset();
}

void TestGameRound::start(quint8 mode, const QList<qint32>& values)
{
    quint8 kind = CellItem::KindLibraryPicture;
    if (mode == Mode::DescriptionPractice || mode == Mode::DescriptionTest)
        kind = CellItem::KindFontSymbol;
    else if (mode == Mode::MapSymbolPractice || mode == Mode::MapSymbolTest)
        kind = CellItem::KindMapSymbol;
    for (int i = 0; i < TMyDrawGrid::ItemCount; ++i)
        m_grid->Item(i)->SetKind(kind);
    TTypesItem test = entry({});
    test.Values = values;
    loadBoard(m_grid, test, QStringLiteral("eng"));
    m_host.mode = mode;
    m_round->StartRound();
}

void TestGameRound::hoverRules_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<qint32>>("values");
    // what a hover over a cell that is not the target shows: its text in the caption, in Image2
    // its large picture ("large") or map excerpt ("I"), in Image1 its ground sketch ("N")
    QTest::addColumn<bool>("captionFollows");
    QTest::addColumn<QString>("leftPicture");
    QTest::addColumn<bool>("groundSketch");
    // what ImageTextMode1 holds after the start: the target's "large" picture, its "V" or nothing
    QTest::addColumn<QString>("textModePicture");
    const QList<qint32> symbols{65, 44};
    const QList<qint32> lines{1, 2};
    const QList<qint32> maps{101, 102};
    QTest::newRow("description practice")
        << int(Mode::DescriptionPractice) << symbols << true << "large" << false << "";
    QTest::newRow("description test")
        << int(Mode::DescriptionTest) << symbols << false << "" << false << "large";
    QTest::newRow("combination practice")
        << int(Mode::CombinationPractice) << lines << true << "I" << true << "";
    QTest::newRow("combination test") << int(Mode::CombinationTest) << lines << false << "" << true << "V";
    QTest::newRow("map-symbol practice")
        << int(Mode::MapSymbolPractice) << maps << true << "large" << false << "";
    QTest::newRow("map-symbol test") << int(Mode::MapSymbolTest) << maps << false << "" << false << "large";
}

void TestGameRound::hoverRules()
{
    QFETCH(int, mode);
    QFETCH(QList<qint32>, values);
    QFETCH(bool, captionFollows);
    QFETCH(QString, leftPicture);
    QFETCH(bool, groundSketch);
    QFETCH(QString, textModePicture);
    start(static_cast<quint8>(mode), values);
    const CellItem* targetItem = m_grid->Item(m_grid->TargetIndex());
    const QString target = targetItem->Text;
    QVERIFY(!target.isEmpty());
    // a test names its target; practice names none and says what to do
    QCOMPARE(m_c.title->text(), Mode::isTimed(mode) ? target : LoadString(StringId::PracticeHint));
    // Image2 starts with the target's combination picture (none but lines have one)
    const QImage leftAtStart = targetItem->PictureI.image();
    QVERIFY(shows(m_c.leftPicture, leftAtStart));
    const QImage expectedTextMode = textModePicture == QLatin1String("large") ? targetItem->PictureLarge
                                    : textModePicture == QLatin1String("V")   ? targetItem->PictureV
                                                                              : QImage();
    QVERIFY(shows(m_c.textModePicture, expectedTextMode));

    const int other = cellWithText(target, true);
    QVERIFY(other >= 0);
    const CellItem* item = m_grid->Item(other);
    const QPoint at = centre(other);
    m_round->hover(at.x(), at.y());
    QCOMPARE(m_c.title->text(), captionFollows ? item->Text : target);
    const QImage left = leftPicture == QLatin1String("large") ? item->PictureLarge
                        : leftPicture == QLatin1String("I")   ? item->PictureI.image()
                                                              : leftAtStart;
    QVERIFY(shows(m_c.leftPicture, left));
    QVERIFY(shows(m_c.rightPicture, groundSketch ? item->PictureN.image() : QImage()));
}

void TestGameRound::practicePressOpensAndClosesHelp()
{
    start(Mode::CombinationPractice, {1, 2});
    const int blue = cellWithText(QStringLiteral("Blue picture"));
    const int red = cellWithText(QStringLiteral("Red picture"));
    click(blue);
    QCOMPARE(m_host.helpCell, blue);
    click(blue); // the same cell again closes the help
    QCOMPARE(m_host.helpCell, -1);
    click(red);
    QCOMPARE(m_host.helpCell, red);
    int cleared = 0;
    while (!m_grid->Item(cleared)->Cleared())
        ++cleared;
    click(cleared); // a cleared cell closes it too
    QCOMPARE(m_host.helpCell, -1);
    QCOMPARE(m_host.errors, 0);
    QCOMPARE(m_grid->ClearedCount(), m_grid->CellCount() - 2); // practice clears nothing
}

void TestGameRound::timedPressJudgesAndAdvances()
{
    start(Mode::MapSymbolTest, {101, 102});
    const QString first = m_c.title->text();
    click(cellWithText(first, true));
    QCOMPARE(m_host.errors, 1);
    QCOMPARE(m_host.progress, 0);
    const int right = cellWithText(first);
    click(right);
    QVERIFY(m_grid->Item(right)->Cleared());
    QCOMPARE(m_host.progress, 1);
    QCOMPARE(m_host.errors, 1);
    QVERIFY(m_c.title->text() != first && !m_c.title->text().isEmpty());
    // the next target's picture for text display
    QVERIFY(shows(m_c.textModePicture, m_grid->Item(cellWithText(m_c.title->text()))->PictureLarge));
    QSignalSpy finished(m_round.get(), &GameRound::finished);
    click(right); // a found cell takes no press
    QCOMPARE(m_host.errors, 1);
    QCOMPARE(finished.count(), 0);
}

void TestGameRound::combinationTestPlayedToTheEnd()
{
    {
        start(Mode::CombinationTest, {1, 2, 1});
        QSignalSpy finished(m_round.get(), &GameRound::finished);
        QCOMPARE(m_round->GameState(), GameRound::Running);
        int presses = 0;
        while (!m_c.title->text().isEmpty() && presses < 10) {
            const QString target = m_c.title->text();
            click(cellWithText(target));
            ++presses;
            if (!m_c.title->text().isEmpty()) {
                // Image2 and the text display follow the new target's line
                const CellItem* next = m_grid->Item(cellWithText(m_c.title->text()));
                QVERIFY(shows(m_c.leftPicture, next->PictureI.image()));
                QVERIFY(shows(m_c.textModePicture, next->PictureV));
            }
        }
        QCOMPARE(presses, 3);
        QCOMPARE(m_round->GameState(), GameRound::Finished);
        QCOMPARE(m_host.errors, 0);
        // the board is cleared, then the round hands on its value once
        QCOMPARE(finished.count(), 1);
        const auto round = finished.first().first().value<FinishedRound>();
        QCOMPARE(round.errors, 0);
        QCOMPARE(round.summary.found, 3);
        QCOMPARE(m_host.mainMenus, 0);
        QVERIFY(m_grid->isHidden());
    }
}

// The time of a round is the time the board was visible: pauses at any moment, before or after a
// tick of the clock, take exactly their own length off it; the stored time is exact to the
// millisecond, and the next round starts from zero.
void TestGameRound::clockCountsThePlayedTimeToTheMillisecond()
{
    constexpr double Ms = 1.0 / MsPerDay;
    double now = 45123.5;
    setClockOverride([&now] { return now; });
    start(Mode::MapSymbolTest, {101, 102});
    qint64 played = 0;
    const auto run = [&](qint64 ms) {
        now += ms * Ms;
        played += ms;
    };
    const auto wait = [&](qint64 ms) { now += ms * Ms; };
    const auto shownSeconds = [&] { return m_c.clock->text(); };
    const auto elapsedMs = [&] { return std::llround(m_round->ElapsedTime() * MsPerDay); };
    // paused just before a tick and resumed just after it, twice around each tick
    run(999);
    m_round->pause();
    wait(2);
    m_round->tick();
    wait(3);
    m_round->pause();
    QCOMPARE(m_round->GameState(), GameRound::Running);
    run(1);
    m_round->pause();
    wait(5000);
    m_round->tick();
    QCOMPARE(shownSeconds(), QStringLiteral("0:01"));
    m_round->pause();
    run(1157);
    m_round->tick();
    QCOMPARE(shownSeconds(), QStringLiteral("0:02"));
    run(26000);
    // the first target found, the second after a pause that spans no tick at all
    click(cellWithText(m_c.title->text()));
    m_round->pause();
    wait(700);
    m_round->pause();
    run(321);
    click(cellWithText(m_c.title->text()));
    QCOMPARE(m_round->GameState(), GameRound::Finished);
    QCOMPARE(played, qint64(28478));
    QCOMPARE(elapsedMs(), played);
    // time after the end does not count
    wait(4000);
    m_round->tick();
    QCOMPARE(elapsedMs(), played);
    // a new round starts from zero
    m_grid->show();
    start(Mode::MapSymbolTest, {101, 102});
    QCOMPARE(elapsedMs(), qint64(0));
    run(250);
    QCOMPARE(elapsedMs(), qint64(250));
}

// After the last target the board is gone and the round is over: neither the pause button nor a
// call of the pause brings the board back or the round to "running".
void TestGameRound::finishedRoundCannotBeResumed()
{
    start(Mode::MapSymbolTest, {101, 102});
    QVERIFY(!m_c.pauseButton->isHidden());
    while (!m_c.title->text().isEmpty())
        click(cellWithText(m_c.title->text()));
    QCOMPARE(m_round->GameState(), GameRound::Finished);
    QVERIFY(m_c.pauseButton->isHidden());
    m_round->pause();
    QCOMPARE(m_round->GameState(), GameRound::Finished);
    QVERIFY(m_grid->isHidden());
    QVERIFY(m_c.pausedLabel->isHidden());
}

QTEST_MAIN(TestGameRound)
#include "tst_gameround.moc"
