// SPDX-License-Identifier: GPL-3.0-or-later
// The gauge: percent arithmetic, the range rules and their refusals, the repaint rules, and the
// pictures of the pie, the bars and the inverted text.
#include "platform/AppError.h"
#include "widgets/TGauge.h"
#include "widgets/widgets_helper.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <numbers>

using namespace WidgetTest;

namespace {

const QColor kCream(255, 255, 196);
const QColor kNavy(0, 0, 128);
const QColor kFrame(10, 20, 30);
constexpr int kPieSize = 44; // the main window's gauge

// The main window's gauge: a 44-pixel pie without border or text, navy on cream.
void makeMainWindowGauge(TGauge* gauge)
{
    gauge->resize(kPieSize, kPieSize);
    gauge->setKind(TGauge::gkPie);
    gauge->setBorderStyle(TGauge::bsNone);
    gauge->setShowText(false);
    gauge->setBackColor(kCream);
    gauge->setColor(kCream);
    gauge->setForeColor(kNavy);
}

// The pixel at `radius` from the centre of a pie of `size`, in the direction of the clock hand at
// `degrees` clockwise from twelve o'clock.
QPoint onDial(int size, double degrees, double radius)
{
    const double centre = (size - 1) / 2.0;
    const double angle = degrees * std::numbers::pi / 180.0;
    return QPoint(int(std::lround(centre + radius * std::sin(angle))),
                  int(std::lround(centre - radius * std::cos(angle))));
}

QString refusalText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AppError& error) {
        return error.text();
    }
    return {};
}

} // namespace

class TestGauge : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void colorFollowsParent();
    void percentDone_data();
    void percentDone();
    void progressIsClamped();
    void rangeMovesProgress();
    void rangeRefusals();
    void loadingAcceptsAnyOrder();
    void repaintRules();
    void descriptionSetsProperties();

    void emptyPie();
    void pieWedge_data();
    void pieWedge();
    void singleBorder();
    void horizontalBar();
    void verticalBar();
    void textIsInverted();
    void needleTurns();

private:
    QWidget* m_host = nullptr;
    TGauge* m_gauge = nullptr;
};

void TestGauge::init()
{
    m_host = new QWidget;
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0, 200, 0));
    palette.setColor(QPalette::WindowText, kFrame);
    m_host->setPalette(palette);
    m_host->setAutoFillBackground(true);
    m_host->resize(200, 200);
    m_gauge = new TGauge(m_host);
    m_gauge->move(5, 5);
    m_gauge->setFont(crispFont(20));
}

void TestGauge::cleanup()
{
    delete m_host;
    m_host = nullptr;
    m_gauge = nullptr;
}

void TestGauge::colorFollowsParent()
{
    QCOMPARE(m_gauge->color(), QColor(0, 200, 0));
    m_gauge->setColor(kCream);
    QCOMPARE(m_gauge->color(), kCream);
    m_gauge->setColor(QColor());
    QCOMPARE(m_gauge->color(), QColor(0, 200, 0));
}

void TestGauge::percentDone_data()
{
    QTest::addColumn<int>("minValue");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("percent");
    QTest::newRow("a third, truncated") << 0 << 15 << 5 << 33;
    QTest::newRow("two thirds, truncated") << 0 << 3 << 2 << 66;
    QTest::newRow("full") << 0 << 15 << 15 << 100;
    QTest::newRow("empty range") << 0 << 0 << 0 << 0;
    QTest::newRow("below one percent") << 0 << 400 << 3 << 0;
    QTest::newRow("one percent") << 0 << 400 << 4 << 1;
    QTest::newRow("negative range") << -100 << -50 << -75 << 50;
    QTest::newRow("across zero") << -10 << 10 << 0 << 50;
    // The difference overflows 32 bits: floating point keeps it right.
    QTest::newRow("whole range") << std::numeric_limits<int>::min() << std::numeric_limits<int>::max() << 0
                                 << 50;
    QTest::newRow("large values") << 0 << 2000000000 << 1999999999 << 99;
}

void TestGauge::percentDone()
{
    QFETCH(int, minValue);
    QFETCH(int, maxValue);
    QFETCH(int, progress);
    QFETCH(int, percent);
    m_gauge->setMaxValue(std::numeric_limits<int>::max());
    m_gauge->setMinValue(minValue);
    m_gauge->setMaxValue(maxValue);
    m_gauge->setProgress(progress);
    QCOMPARE(m_gauge->progress(), progress);
    QCOMPARE(m_gauge->percentDone(), percent);
    QCOMPARE(m_gauge->property("PercentDone").toInt(), percent);
}

void TestGauge::progressIsClamped()
{
    m_gauge->setMaxValue(15);
    m_gauge->setProgress(20);
    QCOMPARE(m_gauge->progress(), 15);
    QCOMPARE(m_gauge->percentDone(), 100);
    m_gauge->setMinValue(5);
    m_gauge->setProgress(-3);
    QCOMPARE(m_gauge->progress(), 5);
    QCOMPARE(m_gauge->percentDone(), 0);
}

void TestGauge::rangeMovesProgress()
{
    m_gauge->setProgress(50);
    m_gauge->setMinValue(60);
    QCOMPARE(m_gauge->progress(), 60);
    m_gauge->setProgress(80);
    m_gauge->setMaxValue(70);
    QCOMPARE(m_gauge->progress(), 70);
    m_gauge->setMaxValue(90);
    QCOMPARE(m_gauge->progress(), 70); // widening leaves it
}

void TestGauge::rangeRefusals()
{
    m_gauge->setProgress(40);
    QCOMPARE(refusalText([this] { m_gauge->setMinValue(101); }),
             QStringLiteral("Value must be between -2147483647 and 99"));
    QCOMPARE(m_gauge->minValue(), 0);
    QCOMPARE(refusalText([this] { m_gauge->setMaxValue(-1); }),
             QStringLiteral("Value must be between 1 and 2147483647"));
    QCOMPARE(m_gauge->maxValue(), 100);
    QCOMPARE(m_gauge->progress(), 40);

    // The bounds may meet.
    QCOMPARE(refusalText([this] { m_gauge->setMinValue(100); }), QString());
    QCOMPARE(m_gauge->progress(), 100);
    QCOMPARE(m_gauge->percentDone(), 0);

    // The message's bounds do not overflow at the ends of the range.
    m_gauge->setMinValue(std::numeric_limits<int>::min());
    m_gauge->setMaxValue(std::numeric_limits<int>::min());
    QCOMPARE(refusalText([this] { m_gauge->setMinValue(0); }),
             QStringLiteral("Value must be between -2147483647 and -2147483649"));
}

void TestGauge::loadingAcceptsAnyOrder()
{
    // A description may give MinValue before a MaxValue that makes room for it.
    m_gauge->setLoading(true);
    m_gauge->setMinValue(150);
    QCOMPARE(m_gauge->minValue(), 150);
    QCOMPARE(m_gauge->progress(), 150);
    m_gauge->setMaxValue(300);
    m_gauge->setLoading(false);
    QCOMPARE(m_gauge->maxValue(), 300);
    m_gauge->setProgress(225);
    QCOMPARE(m_gauge->percentDone(), 50);
    QVERIFY(!refusalText([this] { m_gauge->setMaxValue(100); }).isEmpty());
}

void TestGauge::repaintRules()
{
    m_gauge->setMaxValue(400);
    int requests = m_gauge->repaintRequests();

    // The same value changes nothing.
    m_gauge->setKind(TGauge::gkHorizontalBar);
    m_gauge->setShowText(true);
    m_gauge->setBorderStyle(TGauge::bsSingle);
    m_gauge->setForeColor(QColor(0, 0, 0));
    m_gauge->setBackColor(QColor(255, 255, 255));
    m_gauge->setMinValue(0);
    m_gauge->setMaxValue(400);
    m_gauge->setProgress(0);
    QCOMPARE(m_gauge->repaintRequests(), requests);

    // A step that leaves PercentDone as it was is stored without a repaint.
    m_gauge->setProgress(1);
    QCOMPARE(m_gauge->progress(), 1);
    QCOMPARE(m_gauge->repaintRequests(), requests);
    m_gauge->setProgress(4);
    QCOMPARE(m_gauge->repaintRequests(), ++requests);
    m_gauge->setProgress(500); // clamped to 400
    QCOMPARE(m_gauge->repaintRequests(), ++requests);
    m_gauge->setProgress(400);
    QCOMPARE(m_gauge->repaintRequests(), requests);

    for (const auto& change : std::initializer_list<std::function<void()>>{
             [this] { m_gauge->setKind(TGauge::gkPie); }, [this] { m_gauge->setShowText(false); },
             [this] { m_gauge->setBorderStyle(TGauge::bsNone); }, [this] { m_gauge->setForeColor(kNavy); },
             [this] { m_gauge->setBackColor(kCream); }, [this] { m_gauge->setColor(kCream); },
             [this] { m_gauge->setMinValue(10); }, [this] { m_gauge->setMaxValue(20); }}) {
        change();
        QCOMPARE(m_gauge->repaintRequests(), ++requests);
    }
}

void TestGauge::descriptionSetsProperties()
{
    const QByteArray description = R"(<ui version="4.0"><widget class="QWidget" name="Panel">
<widget class="TGauge" name="Gauge1">
<property name="geometry"><rect><x>51</x><y>3</y><width>44</width><height>44</height></rect></property>
<property name="Kind"><enum>TGauge::gkPie</enum></property>
<property name="BorderStyle"><enum>TGauge::bsNone</enum></property>
<property name="ShowText"><bool>false</bool></property>
<property name="BackColor"><color><red>255</red><green>255</green><blue>196</blue></color></property>
<property name="Color"><color><red>255</red><green>255</green><blue>196</blue></color></property>
<property name="ForeColor"><color><red>0</red><green>0</green><blue>128</blue></color></property>
<property name="MaxValue"><number>15</number></property>
<property name="Progress"><number>5</number></property>
</widget></widget></ui>)";
    QWidget parent;
    QWidget* panel = loadDescription(description, &parent);
    QVERIFY(panel);
    auto* gauge = panel->findChild<TGauge*>(QStringLiteral("Gauge1"));
    QVERIFY(gauge);
    QCOMPARE(gauge->kind(), TGauge::gkPie);
    QCOMPARE(gauge->borderStyle(), TGauge::bsNone);
    QVERIFY(!gauge->showText());
    QCOMPARE(gauge->backColor(), kCream);
    QCOMPARE(gauge->color(), kCream);
    QCOMPARE(gauge->foreColor(), kNavy);
    QCOMPARE(gauge->percentDone(), 33);
}

void TestGauge::emptyPie()
{
    makeMainWindowGauge(m_gauge);
    m_gauge->setColor(QColor(Qt::white)); // tell the surround from the pie
    const QImage shot = onScreen(m_gauge);
    QCOMPARE(QColor(rgbAt(shot, 0, 0)), QColor(Qt::white));
    QCOMPARE(QColor(rgbAt(shot, kPieSize - 1, kPieSize - 1)), QColor(Qt::white));
    // The outline touches all four sides; inside it all is cream.
    QCOMPARE(boundsOf(shot, kNavy), QRect(0, 0, kPieSize, kPieSize));
    for (double degrees = 0; degrees < 360; degrees += 15)
        QCOMPARE(QColor(rgbAt(shot, onDial(kPieSize, degrees, 18).x(), onDial(kPieSize, degrees, 18).y())),
                 kCream);
    for (const QPoint& at : pixelsOf(shot, kNavy))
        QVERIFY(std::hypot(at.x() - 21.5, at.y() - 21.5) > 19);
}

void TestGauge::pieWedge_data()
{
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("progress");
    QTest::addColumn<double>("endDegrees"); // where the wedge ends, clockwise from twelve
    QTest::newRow("a quarter") << 4 << 1 << 90.0;
    QTest::newRow("a third, 5 of 15") << 15 << 5 << 118.8; // 33 %: just short of four o'clock
    QTest::newRow("a half") << 2 << 1 << 180.0;
    QTest::newRow("one percent of 400") << 400 << 4 << 3.6;
    QTest::newRow("all") << 7 << 7 << 360.0;
}

void TestGauge::pieWedge()
{
    QFETCH(int, maxValue);
    QFETCH(int, progress);
    QFETCH(double, endDegrees);
    makeMainWindowGauge(m_gauge);
    m_gauge->setMaxValue(maxValue);
    m_gauge->setProgress(progress);
    const QImage shot = onScreen(m_gauge);
    saveShot(shot, QStringLiteral("gauge-pie-%1").arg(m_gauge->percentDone()));

    constexpr double radius = 15;
    constexpr double margin = 6; // degrees kept clear of the wedge's straight edges
    for (double degrees = 1; degrees < 360; degrees += 2) {
        const QPoint at = onDial(kPieSize, degrees, radius);
        const QColor colour(rgbAt(shot, at.x(), at.y()));
        if (degrees > margin && degrees < endDegrees - margin)
            QVERIFY2(colour == kNavy, qPrintable(QStringLiteral("%1 degrees not filled").arg(degrees)));
        else if (degrees > endDegrees + margin && degrees < 360 - margin)
            QVERIFY2(colour == kCream, qPrintable(QStringLiteral("%1 degrees filled").arg(degrees)));
    }
    // Even the thinnest wedge shows.
    QVERIFY(!pixelsOf(shot, kNavy, QRect(4, 4, kPieSize - 8, kPieSize - 8)).isEmpty());
}

void TestGauge::singleBorder()
{
    makeMainWindowGauge(m_gauge);
    m_gauge->setBorderStyle(TGauge::bsSingle);
    m_gauge->setColor(QColor(Qt::white));
    const QImage shot = onScreen(m_gauge);
    // A frame around the client area, the ellipse within one pixel of it.
    for (int i = 0; i < kPieSize; ++i) {
        QCOMPARE(QColor(rgbAt(shot, i, 0)), kFrame);
        QCOMPARE(QColor(rgbAt(shot, 0, i)), kFrame);
        QCOMPARE(QColor(rgbAt(shot, kPieSize - 1, i)), kFrame);
        QCOMPARE(QColor(rgbAt(shot, i, kPieSize - 1)), kFrame);
    }
    QCOMPARE(boundsOf(shot, kNavy), QRect(1, 1, kPieSize - 2, kPieSize - 2));
    QCOMPARE(QColor(rgbAt(shot, 1, 1)), QColor(Qt::white));
}

void TestGauge::horizontalBar()
{
    m_gauge->resize(100, 20);
    m_gauge->setShowText(false);
    m_gauge->setBorderStyle(TGauge::bsNone);
    m_gauge->setProgress(37);
    QImage shot = onScreen(m_gauge);
    QCOMPARE(boundsOf(shot, Qt::black), QRect(0, 0, 37, 20));
    QCOMPARE(pixelsOf(shot, Qt::white).size(), 63 * 20);

    // With a border the bar grows over the 98 pixels inside it.
    m_gauge->setBorderStyle(TGauge::bsSingle);
    m_gauge->setForeColor(kNavy);
    shot = onScreen(m_gauge);
    QCOMPARE(boundsOf(shot, kNavy), QRect(1, 1, 37 * 98 / 100, 18));
    QCOMPARE(QColor(rgbAt(shot, 0, 10)), kFrame);

    // Less than a pixel draws no bar.
    m_gauge->setMaxValue(1000);
    m_gauge->setProgress(9);
    QVERIFY(pixelsOf(onScreen(m_gauge), kNavy).isEmpty());
}

void TestGauge::verticalBar()
{
    m_gauge->resize(20, 100);
    m_gauge->setKind(TGauge::gkVerticalBar);
    m_gauge->setShowText(false);
    m_gauge->setBorderStyle(TGauge::bsNone);
    m_gauge->setProgress(25);
    const QImage shot = onScreen(m_gauge);
    QCOMPARE(boundsOf(shot, Qt::black), QRect(0, 75, 20, 25));
    QCOMPARE(boundsOf(shot, Qt::white), QRect(0, 0, 20, 75));
}

void TestGauge::textIsInverted()
{
    m_gauge->resize(100, 30);
    m_gauge->setBorderStyle(TGauge::bsNone);
    m_gauge->setProgress(50);
    const QImage shot = onScreen(m_gauge);
    saveShot(shot, QStringLiteral("gauge-bar-text"));

    // Black bar on the left, white rest on the right; the text "50%" straddles both and shows in
    // inverse colours on each side, with no third colour.
    QVERIFY(pixelsWhere(shot, [](QRgb p) {
                return (p | 0xff000000) != qRgb(0, 0, 0) && (p | 0xff000000) != qRgb(255, 255, 255);
            }).isEmpty());
    QVERIFY(!pixelsOf(shot, Qt::white, QRect(0, 0, 50, 30)).isEmpty());
    QVERIFY(!pixelsOf(shot, Qt::black, QRect(50, 0, 50, 30)).isEmpty());
    // Centred: the inverted ink reaches about as far left of the middle as right of it.
    const QRect left = boundsOf(shot, Qt::white, QRect(0, 0, 50, 30));
    const QRect right = boundsOf(shot, Qt::black, QRect(50, 0, 50, 30));
    QVERIFY(qAbs((50 - left.left()) - (right.right() + 1 - 50)) <= 3);

    m_gauge->setShowText(false);
    const QImage plain = onScreen(m_gauge);
    QCOMPARE(boundsOf(plain, Qt::black), QRect(0, 0, 50, 30));
    QCOMPARE(boundsOf(plain, Qt::white), QRect(50, 0, 50, 30));
}

void TestGauge::needleTurns()
{
    m_gauge->resize(60, 40);
    m_gauge->setKind(TGauge::gkNeedle);
    m_gauge->setShowText(false);
    m_gauge->setBorderStyle(TGauge::bsNone);
    m_gauge->setColor(QColor(Qt::white));
    m_gauge->setBackColor(kCream);
    m_gauge->setForeColor(kNavy);
    // Halfway along the needle at 25 %, 50 % and 75 % of the half dial over the bottom edge.
    const QRect upperLeft(18, 24, 3, 3);
    const QRect straightUp(28, 19, 3, 3);
    const QRect upperRight(39, 24, 3, 3);
    const auto needleIn = [this](const QRect& area) {
        return !pixelsOf(onScreen(m_gauge), kNavy, area).isEmpty();
    };

    m_gauge->setProgress(25);
    QVERIFY(needleIn(upperLeft));
    QVERIFY(!needleIn(straightUp));
    QVERIFY(!needleIn(upperRight));
    m_gauge->setProgress(50);
    QVERIFY(needleIn(straightUp));
    QVERIFY(!needleIn(upperLeft));
    m_gauge->setProgress(75);
    QVERIFY(needleIn(upperRight));
    QVERIFY(!needleIn(straightUp));
    // The dial: cream inside, white around it.
    const QImage shot = onScreen(m_gauge);
    QCOMPARE(QColor(rgbAt(shot, 10, 30)), kCream);
    QCOMPARE(QColor(rgbAt(shot, 1, 1)), QColor(Qt::white));
}

QTEST_MAIN(TestGauge)
#include "tst_gauge.moc"
