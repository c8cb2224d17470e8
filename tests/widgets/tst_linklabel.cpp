// SPDX-License-Identifier: GPL-3.0-or-later
// The link label: the command's prefix rules, the event command, and the text colour as the mouse
// moves over it and presses it.
#include "widgets/TLinkLabel.h"
#include "widgets/widgets_helper.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace WidgetTest;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kPurple(128, 0, 128);
const QColor kGreen(0, 128, 0); // the main window's credit line

// Records what the label hands to the desktop instead of opening it, for as long as it lives.
class RecordingOpener
{
public:
    RecordingOpener()
        : m_previous(TLinkLabel::setOpener([this](const QString& target) {
              targets << target;
              return true;
          }))
    {}
    ~RecordingOpener() { TLinkLabel::setOpener(m_previous); }
    RecordingOpener(const RecordingOpener&) = delete;
    RecordingOpener& operator=(const RecordingOpener&) = delete;

    QStringList targets;

private:
    TLinkLabel::Opener m_previous;
};

void sendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at,
               Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent event(type, at, widget->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void moveTo(QWidget* widget, QPoint at, Qt::MouseButtons held = Qt::NoButton)
{
    sendMouse(widget, QEvent::MouseMove, Qt::NoButton, at, held);
}

void press(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseButtonPress, button, at, button);
}

void release(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseButtonRelease, button, at);
}

void leave(QWidget* widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestLinkLabel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void descriptionSetsProperties();
    void targets_data();
    void targets();
    void eventCommandCallsRunEvent();
    void onlyEnabledLeftPressRuns();
    void colourFollowsMouse();
    void heldAndDraggedOut();
    void inactiveWindowDoesNotLight();
    void clickNeedsReleaseOver();
    void paintsInTextColour();

private:
    QPoint inside() const { return m_label->rect().center(); }

    QWidget* m_host = nullptr;
    TLinkLabel* m_label = nullptr;
};

void TestLinkLabel::init()
{
    m_host = new QWidget;
    m_host->resize(400, 60);
    m_label = new TLinkLabel(m_host);
    m_label->setGeometry(24, 20, 300, 18);
    m_host->show();
    m_host->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_host));
}

void TestLinkLabel::cleanup()
{
    delete m_host;
    m_host = nullptr;
    m_label = nullptr;
}

void TestLinkLabel::descriptionSetsProperties()
{
    const QByteArray description = R"(<ui version="4.0"><widget class="QWidget" name="Menu">
<widget class="TLinkLabel" name="LinkLabel1">
<property name="geometry"><rect><x>24</x><y>504</y><width>577</width><height>18</height></rect></property>
<property name="Caption"><string>Project page</string></property>
<property name="CaptionValue"><string>www.example.org</string></property>
<property name="Command"><enum>TLinkLabel::runFTP</enum></property>
<property name="FontColor"><color><red>0</red><green>128</green><blue>0</blue></color></property>
<property name="MoveOverColor"><color><red>1</red><green>2</green><blue>3</blue></color></property>
</widget></widget></ui>)";
    QWidget parent;
    QWidget* menu = loadDescription(description, &parent);
    QVERIFY(menu);
    auto* label = menu->findChild<TLinkLabel*>(QStringLiteral("LinkLabel1"));
    QVERIFY(label);
    QCOMPARE(label->caption(), QStringLiteral("Project page"));
    QCOMPARE(label->command(), TLinkLabel::runFTP);
    QCOMPARE(label->target(), QStringLiteral("ftp://www.example.org"));
    // The colour given at load time is the normal colour, and shows.
    QCOMPARE(label->fontColor(), kGreen);
    QCOMPARE(label->textColor(), kGreen);
    QCOMPARE(label->moveOverColor(), QColor(1, 2, 3));
}

void TestLinkLabel::targets_data()
{
    QTest::addColumn<TLinkLabel::Command>("command");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("target");
    QTest::newRow("web address") << TLinkLabel::runURL << "www.example.org"
                                 << "http://www.example.org";
    QTest::newRow("web address with prefix") << TLinkLabel::runURL << "http://www.example.org/a"
                                             << "http://www.example.org/a";
    QTest::newRow("prefix in capitals") << TLinkLabel::runURL << "HTTP://Example.org"
                                        << "HTTP://Example.org";
    QTest::newRow("secure web address") << TLinkLabel::runURL << "https://quillon.example.org/"
                                        << "https://quillon.example.org/";
    QTest::newRow("mail") << TLinkLabel::runMAIL << "coach@example.org"
                          << "mailto:coach@example.org";
    QTest::newRow("mail with prefix") << TLinkLabel::runMAIL << "mailto:coach@example.org"
                                      << "mailto:coach@example.org";
    QTest::newRow("ftp") << TLinkLabel::runFTP << "files.example.org"
                         << "ftp://files.example.org";
    QTest::newRow("file") << TLinkLabel::runFILE << "/tmp/readme.txt"
                          << "file:/tmp/readme.txt";
    QTest::newRow("nothing: the bare value") << TLinkLabel::runNothing << "readme.txt"
                                             << "readme.txt";
    // Only the command's own prefix counts.
    QTest::newRow("mail value on ftp") << TLinkLabel::runFTP << "mailto:x"
                                       << "ftp://mailto:x";
}

void TestLinkLabel::targets()
{
    QFETCH(TLinkLabel::Command, command);
    QFETCH(QString, value);
    QFETCH(QString, target);
    RecordingOpener opener;
    QSignalSpy runEvent(m_label, &TLinkLabel::RunEvent);
    m_label->setCommand(command);
    m_label->setCaptionValue(value);
    press(m_label, inside());
    release(m_label, inside());
    QCOMPARE(opener.targets, QStringList{target});
    QCOMPARE(runEvent.count(), 0);
}

void TestLinkLabel::eventCommandCallsRunEvent()
{
    RecordingOpener opener;
    QSignalSpy runEvent(m_label, &TLinkLabel::RunEvent);
    m_label->setCommand(TLinkLabel::runEVENT);
    m_label->setCaptionValue(QStringLiteral("eventful"));
    press(m_label, inside());
    QCOMPARE(runEvent.count(), 1);
    QVERIFY(opener.targets.isEmpty());
    QVERIFY(m_label->Followed());
}

void TestLinkLabel::onlyEnabledLeftPressRuns()
{
    RecordingOpener opener;
    press(m_label, inside(), Qt::RightButton);
    release(m_label, inside(), Qt::RightButton);
    QVERIFY(opener.targets.isEmpty());
    QVERIFY(!m_label->Followed());

    m_label->setEnabled(false);
    QTest::mouseClick(m_label, Qt::LeftButton, {}, inside());
    QVERIFY(opener.targets.isEmpty());
    QVERIFY(!m_label->Followed());

    m_label->setEnabled(true);
    QTest::mouseClick(m_label, Qt::LeftButton, {}, inside());
    QCOMPARE(opener.targets.size(), 1);
}

void TestLinkLabel::colourFollowsMouse()
{
    RecordingOpener opener;
    // Before any press: lit under the mouse, the normal colour after.
    moveTo(m_label, inside());
    QVERIFY(m_label->Inside());
    QCOMPARE(m_label->textColor(), kRed);
    leave(m_label);
    QVERIFY(!m_label->Inside());
    QCOMPARE(m_label->textColor(), kBlue);

    moveTo(m_label, inside());
    press(m_label, inside());
    QVERIFY(m_label->Held());
    QVERIFY(m_label->Followed());
    QCOMPARE(m_label->textColor(), kBlue); // the normal colour while held
    release(m_label, inside());
    QVERIFY(!m_label->Held());
    QVERIFY(!m_label->Inside());
    QCOMPARE(m_label->textColor(), kPurple);

    // Once followed: lit under the mouse again, the followed colour whenever the mouse is away.
    moveTo(m_label, inside() + QPoint(3, 0));
    QCOMPARE(m_label->textColor(), kRed);
    QVERIFY(m_label->Inside());
    leave(m_label);
    QCOMPARE(m_label->textColor(), kPurple);
}

void TestLinkLabel::heldAndDraggedOut()
{
    RecordingOpener opener;
    moveTo(m_label, inside());
    press(m_label, inside());
    // The label keeps the mouse while held: moves outside still reach it.
    moveTo(m_label, QPoint(-20, -20), Qt::LeftButton);
    QVERIFY(!m_label->Inside());
    QCOMPARE(m_label->textColor(), kPurple);
    QVERIFY(m_label->Held());
    release(m_label, QPoint(-20, -20));
    QVERIFY(!m_label->Held());
    QCOMPARE(m_label->textColor(), kPurple);
    QCOMPARE(opener.targets.size(), 1);
}

void TestLinkLabel::inactiveWindowDoesNotLight()
{
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!m_label->isActiveWindow());
    moveTo(m_label, inside());
    QVERIFY(m_label->Inside());
    QCOMPARE(m_label->textColor(), kBlue);
    leave(m_label);
    QCOMPARE(m_label->textColor(), kBlue);
}

void TestLinkLabel::clickNeedsReleaseOver()
{
    RecordingOpener opener;
    QSignalSpy clicked(m_label, &TLinkLabel::clicked);
    press(m_label, inside());
    release(m_label, inside());
    QCOMPARE(clicked.count(), 1);
    press(m_label, inside());
    release(m_label, QPoint(-5, -5));
    QCOMPARE(clicked.count(), 1);
    // The command runs on the press, whether or not a click follows.
    QCOMPARE(opener.targets.size(), 2);
}

void TestLinkLabel::paintsInTextColour()
{
    m_label->setFont(crispFont());
    m_label->setFontColor(kGreen);
    m_label->setCaption(QStringLiteral("Project page"));
    QImage shot = onScreen(m_label);
    saveShot(shot, QStringLiteral("linklabel-normal"));
    const QRect ink = boundsOf(shot, kGreen);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.left() < 3); // left aligned

    moveTo(m_label, inside());
    shot = onScreen(m_label);
    saveShot(shot, QStringLiteral("linklabel-over"));
    QCOMPARE(boundsOf(shot, kRed), ink);
    QVERIFY(pixelsOf(shot, kGreen).isEmpty());
}

QTEST_MAIN(TestLinkLabel)
#include "tst_linklabel.moc"
