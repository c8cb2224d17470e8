// SPDX-License-Identifier: GPL-3.0-or-later
// The painted command button and its caption style: look at rest, under the mouse, held and
// disabled, the caption's three-dimensional styles, the mouse state and the click.
#include "widgets/TCommandButton.h"
#include "widgets/TFont3D.h"
#include "widgets/widgets_helper.h"

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

using namespace WidgetTest;

namespace {

const QColor kHostBackground(255, 0, 255); // shows where the button is transparent
const QColor kFace(255, 255, 164);
const QColor kNavy(0, 0, 128);
const QColor kAqua(0, 255, 255);
const QColor kTeal(0, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kGrey(128, 128, 128);
// The host's palette, so that the system colours are known.
const QColor kButtonFace(200, 200, 200);
const QColor kButtonHighlight(255, 255, 255);
const QColor kButtonShadow(100, 100, 100);
const QColor kGrayText(150, 150, 150);
const QColor kButtonText(0, 0, 0);

constexpr int kWidth = 97; // the main window's buttons
constexpr int kHeight = 33;
constexpr int kMidRow = kHeight / 2;
// Lamp corner at rest: x0 = 7, y0 = (33 - 10) / 2.
constexpr int kLampX0 = 7;
constexpr int kLampY0 = 11;
// Inside the face, clear of the lamp, the edge rings, the outline and the rounded corners (the
// captions of these tests are short enough to lie within).
const QRect kCaptionArea(20, 4, 57, kHeight - 8);

QPalette hostPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, kHostBackground);
    palette.setColor(QPalette::Button, kButtonFace);
    palette.setColor(QPalette::Light, kButtonHighlight);
    palette.setColor(QPalette::Dark, kButtonShadow);
    palette.setColor(QPalette::ButtonText, kButtonText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, kGrayText);
    return palette;
}

void enter(QWidget* widget)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QEnterEvent event(at, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

void sendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, QPoint at)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, widget->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QPoint middleOf(const QWidget* widget)
{
    return widget->rect().center();
}

// The ink of `text` drawn plainly in black at `rect` of a white picture.
QImage plainCaption(const QSize& size, const QRect& rect, const QString& text)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(crispFont(20));
    painter.setPen(Qt::black);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, text);
    return image;
}

bool inkAt(const QImage& plain, QPoint at)
{
    return plain.rect().contains(at) && rgbAt(plain, at.x(), at.y()) == qRgb(0, 0, 0);
}

} // namespace

class TestCommandButton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void font3DProperties();
    void font3DChangeRepaints();
    void descriptionSetsProperties();

    void restLook();
    void hoverLook();
    void heldLook();
    void disabledCaptionIsEmbossed();
    void pauseCaptionHasLightCopy();
    void backgroundBrushFillsFace();

    void mouseStateAndClick();
    void clickThroughPlatform();
    void disablingWhileHeldReleases();

    void captionStyles_data();
    void captionStyles();
    void extrusion_data();
    void extrusion();

private:
    QWidget* m_host = nullptr;
    TCommandButton* m_button = nullptr;
};

void TestCommandButton::init()
{
    m_host = new QWidget;
    m_host->setPalette(hostPalette());
    m_host->setAutoFillBackground(true);
    m_host->resize(kWidth + 20, kHeight + 20);
    m_button = new TCommandButton(m_host);
    m_button->setGeometry(10, 10, kWidth, kHeight);
    m_button->setFont(crispFont());
    m_button->setCaption(QStringLiteral("Next"));
    m_button->setFont3DThreeDimensional(false);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host));
}

void TestCommandButton::cleanup()
{
    delete m_host;
    m_host = nullptr;
    m_button = nullptr;
}

void TestCommandButton::font3DProperties()
{
    TFont3D* style = m_button->Font3D();
    QSignalSpy changed(style, &TFont3D::changed);

    // Offset is at least 1: 0 keeps the former value.
    style->setOffset(3);
    style->setOffset(0);
    QCOMPARE(style->offset(), 3);
    QCOMPARE(changed.count(), 1);
    style->setOffset(3);
    QCOMPARE(changed.count(), 1);
    style->setRepetitionwidth(4);
    QCOMPARE(style->drawingWidth(), 10);

    // The flattened properties of the form reach the style object, and back.
    QVERIFY(m_button->setProperty("Font3DOffset", 5));
    QCOMPARE(style->offset(), 5);
    QVERIFY(m_button->setProperty("Font3DRepetition", int(TCommandButton::repeatOnShadow)));
    QCOMPARE(style->repetition(), TCommandButton::repeatOnShadow);
    style->setStyle3D(TCommandButton::fontOutLineShadow);
    QCOMPARE(m_button->property("Font3DStyle3D").toInt(), int(TCommandButton::fontOutLineShadow));
    QVERIFY(m_button->setProperty("Font3DMaskFont", false));
    QVERIFY(!style->maskFont());
    QVERIFY(m_button->setProperty("Font3DRepetitionColor", QColor(Qt::blue)));
    QCOMPARE(style->repetitionColor(), QColor(Qt::blue));

    // Light and dark copies follow the palette until a colour is set.
    QCOMPARE(style->highlight(), kButtonHighlight);
    QCOMPARE(m_button->property("Font3DShadow").value<QColor>(), kButtonShadow);
    m_button->setFont3DShadow(QColor(Qt::yellow));
    QCOMPARE(style->shadow(), QColor(Qt::yellow));
    style->setShadow(QColor());
    QCOMPARE(style->shadow(), kButtonShadow);
}

void TestCommandButton::font3DChangeRepaints()
{
    int paints = 0;
    struct PaintCounter : QObject
    {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                ++*count;
            return false;
        }
    } counter(&paints);
    m_button->installEventFilter(&counter);
    QTest::qWait(0);
    paints = 0;
    m_button->Font3D()->setRepetitionColor(QColor(Qt::red));
    QTRY_VERIFY(paints > 0);
    paints = 0;
    m_button->Font3D()->setMaskFont(false);
    QTRY_VERIFY(paints > 0);
    m_button->removeEventFilter(&counter);
}

void TestCommandButton::descriptionSetsProperties()
{
    const QByteArray description = R"(<ui version="4.0"><widget class="QWidget" name="Panel">
<widget class="TCommandButton" name="ExitButton">
<property name="geometry"><rect><x>8</x><y>376</y><width>97</width><height>33</height></rect></property>
<property name="Caption"><string>Exit</string></property>
<property name="Font3DThreeDimensional"><bool>false</bool></property>
<property name="Font3DStyle3D"><enum>TCommandButton::fontInset</enum></property>
<property name="Font3DShadow"><color><red>255</red><green>255</green><blue>0</blue></color></property>
<property name="Font3DRepetition"><enum>TCommandButton::repeatOnHighLight</enum></property>
<property name="LedNormal"><color><red>1</red><green>2</green><blue>3</blue></color></property>
<property name="enabled"><bool>false</bool></property>
</widget></widget></ui>)";
    QWidget parent;
    QWidget* panel = loadDescription(description, &parent);
    QVERIFY(panel);
    auto* button = panel->findChild<TCommandButton*>(QStringLiteral("ExitButton"));
    QVERIFY(button);
    QCOMPARE(button->caption(), QStringLiteral("Exit"));
    QCOMPARE(button->geometry(), QRect(8, 376, 97, 33));
    QVERIFY(!button->Font3D()->threeDimensional());
    QCOMPARE(button->Font3D()->style3D(), TCommandButton::fontInset);
    QCOMPARE(button->Font3D()->shadow(), QColor(255, 255, 0));
    QCOMPARE(button->Font3D()->repetition(), TCommandButton::repeatOnHighLight);
    QCOMPARE(button->ledNormal(), QColor(1, 2, 3));
    QVERIFY(!button->isEnabled());
}

void TestCommandButton::restLook()
{
    const QImage shot = onScreen(m_button);
    saveShot(shot, QStringLiteral("button-rest"));
    QCOMPARE(shot.size(), QSize(kWidth, kHeight));

    // Outside the rounded face the parent shows.
    for (const QPoint& at : {QPoint(0, 0), QPoint(3, 3), QPoint(kWidth - 1, kHeight - 1), QPoint(1, kMidRow),
                             QPoint(kWidth - 2, kMidRow), QPoint(kWidth / 2, 1)})
        QCOMPARE(QColor(rgbAt(shot, at.x(), at.y())), kHostBackground);
    QCOMPARE(QColor(rgbAt(shot, kWidth / 2, 5)), kFace);

    // Left to right along the middle row: outline, edge ring in face colour ... edge ring in the
    // highlight colour, outline.
    QCOMPARE(QColor(rgbAt(shot, 2, kMidRow)), QColor(0, 0, 0));
    QCOMPARE(QColor(rgbAt(shot, 3, kMidRow)), kButtonFace);
    QCOMPARE(QColor(rgbAt(shot, 4, kMidRow)), kFace);
    QCOMPARE(QColor(rgbAt(shot, kWidth - 4, kMidRow)), kButtonHighlight);
    QCOMPARE(QColor(rgbAt(shot, kWidth - 3, kMidRow)), QColor(0, 0, 0));
    // The same down the middle column.
    QCOMPARE(QColor(rgbAt(shot, kWidth / 2, 2)), QColor(0, 0, 0));
    QCOMPARE(QColor(rgbAt(shot, kWidth / 2, 3)), kButtonFace);
    QCOMPARE(QColor(rgbAt(shot, kWidth / 2, kHeight - 4)), kButtonHighlight);
    QCOMPARE(QColor(rgbAt(shot, kWidth / 2, kHeight - 3)), QColor(0, 0, 0));

    // A navy lamp with its gloss, filling the square (x0 + 1, y0 + 1) .. (x0 + 10, y0 + 10).
    QCOMPARE(QColor(rgbAt(shot, kLampX0 + 6, kLampY0 + 6)), kNavy);
    QCOMPARE(QColor(rgbAt(shot, kLampX0 + 4, kLampY0 + 1)), kSilver);
    QCOMPARE(QColor(rgbAt(shot, kLampX0 + 4, kLampY0 + 4)), kSilver);
    QCOMPARE(QColor(rgbAt(shot, kLampX0 + 10, kLampY0 + 5)), kGrey);
    QCOMPARE(QColor(rgbAt(shot, kLampX0 + 5, kLampY0 + 10)), kGrey);
    const QRect lampArea(0, 0, 22, kHeight);
    const QRect lamp =
        boundsOf(shot, kNavy, lampArea) | boundsOf(shot, kSilver, lampArea) | boundsOf(shot, kGrey, lampArea);
    QCOMPARE(lamp, QRect(kLampX0 + 1, kLampY0 + 1, 10, 10));

    // The caption sits 7 pixels right of the centre.
    const QRect caption = boundsOf(shot, kButtonText, kCaptionArea);
    QVERIFY(!caption.isEmpty());
    QVERIFY(qAbs(caption.center().x() - (kWidth / 2 + 7)) <= 1);
    QVERIFY(qAbs(caption.center().y() - kMidRow) <= 3);

    // The outline takes BorderColor while the mouse is outside.
    m_button->setBorderColor(QColor(Qt::red));
    QCOMPARE(QColor(rgbAt(onScreen(m_button), 2, kMidRow)), QColor(Qt::red));
}

void TestCommandButton::hoverLook()
{
    m_button->setBorderColor(QColor(Qt::red));
    enter(m_button);
    QVERIFY(m_button->MouseInside());
    QCOMPARE(m_button->PressOffset(), 0);
    const QImage shot = onScreen(m_button);
    saveShot(shot, QStringLiteral("button-hover"));
    QCOMPARE(QColor(rgbAt(shot, kLampX0 + 6, kLampY0 + 6)), kTeal);
    // The outline turns to the highlight colour, whatever BorderColor is.
    QCOMPARE(QColor(rgbAt(shot, 2, kMidRow)), kButtonHighlight);
    QCOMPARE(QColor(rgbAt(shot, kWidth - 3, kMidRow)), kButtonHighlight);
    QVERIFY(pixelsOf(shot, kNavy).isEmpty());

    leave(m_button);
    const QImage after = onScreen(m_button);
    QCOMPARE(QColor(rgbAt(after, kLampX0 + 6, kLampY0 + 6)), kNavy);
    QCOMPARE(QColor(rgbAt(after, 2, kMidRow)), QColor(Qt::red));
}

void TestCommandButton::heldLook()
{
    enter(m_button);
    const QImage hover = onScreen(m_button);
    sendMouse(m_button, QEvent::MouseButtonPress, Qt::LeftButton, middleOf(m_button));
    const QImage held = onScreen(m_button);
    saveShot(held, QStringLiteral("button-pressed"));

    QCOMPARE(QColor(rgbAt(held, kLampX0 + 7, kLampY0 + 7)), kAqua);
    // Lamp and caption move one pixel right and down.
    const QRect lampArea(0, 0, 22, kHeight);
    QCOMPARE(boundsOf(held, kSilver, lampArea), boundsOf(hover, kSilver, lampArea).translated(1, 1));
    QCOMPARE(boundsOf(held, kGrey, lampArea), boundsOf(hover, kGrey, lampArea).translated(1, 1));
    const QRect captionBefore = boundsOf(hover, kButtonText, kCaptionArea);
    QVERIFY(!captionBefore.isEmpty());
    QCOMPARE(boundsOf(held, kButtonText, kCaptionArea), captionBefore.translated(1, 1));
    // The edge rings swap their colours.
    QCOMPARE(QColor(rgbAt(held, 3, kMidRow)), kButtonHighlight);
    QCOMPARE(QColor(rgbAt(held, kWidth - 4, kMidRow)), kButtonFace);

    // Held but moved out: navy lamp and no offset, the rings stay swapped.
    leave(m_button);
    const QImage outside = onScreen(m_button);
    QCOMPARE(QColor(rgbAt(outside, kLampX0 + 6, kLampY0 + 6)), kNavy);
    QCOMPARE(boundsOf(outside, kButtonText, kCaptionArea), captionBefore);
    QCOMPARE(QColor(rgbAt(outside, 3, kMidRow)), kButtonHighlight);
}

void TestCommandButton::disabledCaptionIsEmbossed()
{
    m_button->setCaption(QStringLiteral("Back"));
    m_button->setEnabled(false);
    const QImage shot = onScreen(m_button);
    saveShot(shot, QStringLiteral("button-disabled"));

    QVERIFY(pixelsOf(shot, kButtonText, kCaptionArea).isEmpty());
    const QList<QPoint> grey = pixelsOf(shot, kGrayText, kCaptionArea);
    const QList<QPoint> light = pixelsOf(shot, kButtonHighlight, kCaptionArea);
    QVERIFY(!grey.isEmpty());
    QVERIFY(!light.isEmpty());
    // The grey caption lies one pixel up and left of the light copy: left of and above every
    // visible light pixel there is a grey one.
    for (const QPoint& at : light)
        QCOMPARE(QColor(rgbAt(shot, at.x() - 1, at.y() - 1)), kGrayText);
}

void TestCommandButton::pauseCaptionHasLightCopy()
{
    m_button->setCaption(QStringLiteral("Pause"));
    m_button->setFont3DThreeDimensional(true); // the defaults: fontOnlyHighlight, Offset 1
    const QImage shot = onScreen(m_button);
    saveShot(shot, QStringLiteral("button-pause"));

    const QList<QPoint> light = pixelsOf(shot, kButtonHighlight, kCaptionArea);
    QVERIFY(!light.isEmpty());
    QVERIFY(pixelsOf(shot, kButtonShadow, kCaptionArea).isEmpty());
    // Every visible light pixel is the copy of caption ink one pixel down and right.
    for (const QPoint& at : light)
        QCOMPARE(QColor(rgbAt(shot, at.x() + 1, at.y() + 1)), kButtonText);

    m_button->setFont3DThreeDimensional(false);
    QVERIFY(pixelsOf(onScreen(m_button), kButtonHighlight, kCaptionArea).isEmpty());
}

void TestCommandButton::backgroundBrushFillsFace()
{
    m_button->setBackground(QBrush(QColor(Qt::green)));
    const QImage shot = onScreen(m_button);
    QCOMPARE(QColor(rgbAt(shot, kWidth / 2, 5)), QColor(Qt::green));
    QCOMPARE(QColor(rgbAt(shot, 3, 3)), kHostBackground);
    m_button->setBackground(Qt::NoBrush);
    QCOMPARE(QColor(rgbAt(onScreen(m_button), kWidth / 2, 5)), kFace);
}

void TestCommandButton::mouseStateAndClick()
{
    QCOMPARE(m_button->focusPolicy(), Qt::NoFocus);
    QSignalSpy clicked(m_button, &TCommandButton::clicked);
    const QPoint inside = middleOf(m_button);
    const QPoint outside(kWidth + 5, kMidRow);

    enter(m_button);
    sendMouse(m_button, QEvent::MouseButtonPress, Qt::LeftButton, inside);
    QVERIFY(m_button->Pressed());
    QCOMPARE(m_button->PressOffset(), 1);
    leave(m_button);
    QVERIFY(!m_button->MouseInside());
    QCOMPARE(m_button->PressOffset(), 0);
    enter(m_button);
    QCOMPARE(m_button->PressOffset(), 1); // back over the held button
    sendMouse(m_button, QEvent::MouseButtonRelease, Qt::LeftButton, inside);
    QVERIFY(!m_button->Pressed());
    QCOMPARE(m_button->PressOffset(), 0);
    QCOMPARE(clicked.count(), 1);

    // Released away from the button: no click.
    sendMouse(m_button, QEvent::MouseButtonPress, Qt::LeftButton, inside);
    leave(m_button);
    sendMouse(m_button, QEvent::MouseButtonRelease, Qt::LeftButton, outside);
    QVERIFY(!m_button->Pressed());
    QCOMPARE(clicked.count(), 1);

    // Any button holds it down; only the left one clicks.
    enter(m_button);
    sendMouse(m_button, QEvent::MouseButtonPress, Qt::RightButton, inside);
    QVERIFY(m_button->Pressed());
    QCOMPARE(m_button->PressOffset(), 1);
    sendMouse(m_button, QEvent::MouseButtonRelease, Qt::RightButton, inside);
    QVERIFY(!m_button->Pressed());
    QCOMPARE(clicked.count(), 1);
}

void TestCommandButton::clickThroughPlatform()
{
    QSignalSpy clicked(m_button, &TCommandButton::clicked);
    QTest::mouseClick(m_button, Qt::LeftButton, {}, middleOf(m_button));
    QCOMPARE(clicked.count(), 1);
    QVERIFY(!m_button->Pressed());
    m_button->setEnabled(false);
    QTest::mouseClick(m_button, Qt::LeftButton, {}, middleOf(m_button));
    QCOMPARE(clicked.count(), 1);
}

void TestCommandButton::disablingWhileHeldReleases()
{
    // "Next >>>" disables itself at the last step while it is held: it must not stay held.
    QSignalSpy clicked(m_button, &TCommandButton::clicked);
    enter(m_button);
    sendMouse(m_button, QEvent::MouseButtonPress, Qt::LeftButton, middleOf(m_button));
    m_button->setEnabled(false);
    QVERIFY(!m_button->Pressed());
    QCOMPARE(m_button->PressOffset(), 0);
    m_button->setEnabled(true);
    sendMouse(m_button, QEvent::MouseButtonRelease, Qt::LeftButton, middleOf(m_button));
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(QColor(rgbAt(onScreen(m_button), kLampX0 + 6, kLampY0 + 6)), kTeal);
}

using Shifts = QList<QPoint>;

void TestCommandButton::captionStyles_data()
{
    QTest::addColumn<TCommandButton::Style3D>("style");
    QTest::addColumn<Shifts>("highlightAt");
    QTest::addColumn<Shifts>("shadowAt");
    // Offset 2; the outline ignores it.
    QTest::newRow("raised") << TCommandButton::fontRaised << Shifts{{-2, -2}} << Shifts{{2, 2}};
    QTest::newRow("inset") << TCommandButton::fontInset << Shifts{{2, 2}} << Shifts{{-2, -2}};
    QTest::newRow("only shadow") << TCommandButton::fontOnlyShadow << Shifts{} << Shifts{{2, 2}};
    QTest::newRow("only highlight") << TCommandButton::fontOnlyHighlight << Shifts{{-2, -2}} << Shifts{};
    QTest::newRow("outline") << TCommandButton::fontOutLineShadow << Shifts{}
                             << Shifts{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
}

void TestCommandButton::captionStyles()
{
    QFETCH(TCommandButton::Style3D, style);
    QFETCH(Shifts, highlightAt);
    QFETCH(Shifts, shadowAt);

    const QSize size(120, 50);
    const QRect place(10, 10, 100, 30);
    const QString text = QStringLiteral("Wg");
    const QImage plain = plainCaption(size, place, text);

    TFont3D font3D;
    font3D.setStyle3D(style);
    font3D.setOffset(2);
    font3D.setHighlight(QColor(Qt::red));
    font3D.setShadow(QColor(Qt::green));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(crispFont(20));
        font3D.draw(painter, place, text, QColor(Qt::black));
    }

    // The caption itself is drawn last, unmoved.
    QCOMPARE(pixelsOf(image, Qt::black), pixelsOf(plain, Qt::black));
    const auto checkCopies = [&](QColor color, const Shifts& shifts) {
        const QList<QPoint> pixels = pixelsOf(image, color);
        QCOMPARE(pixels.isEmpty(), shifts.isEmpty());
        for (const QPoint& at : pixels) {
            const bool fromShift = std::any_of(shifts.begin(), shifts.end(),
                                               [&](QPoint shift) { return inkAt(plain, at - shift); });
            QVERIFY2(fromShift, qPrintable(QStringLiteral("stray pixel at %1,%2").arg(at.x()).arg(at.y())));
        }
    };
    checkCopies(Qt::red, highlightAt);
    checkCopies(Qt::green, shadowAt);
}

void TestCommandButton::extrusion_data()
{
    QTest::addColumn<TCommandButton::Repetition>("repetition");
    QTest::addColumn<QPoint>("captionAt");
    QTest::addColumn<Shifts>("copiesAt");
    // Three copies with Offset 1: the walk ends two pixels beyond the caption's place, and the
    // caption is drawn there.
    QTest::newRow("on shadow") << TCommandButton::repeatOnShadow << QPoint(-2, -2)
                               << Shifts{{1, 1}, {0, 0}, {-1, -1}};
    QTest::newRow("on highlight") << TCommandButton::repeatOnHighLight << QPoint(2, 2)
                                  << Shifts{{-1, -1}, {0, 0}, {1, 1}};
    QTest::newRow("none") << TCommandButton::repeatNone << QPoint(0, 0) << Shifts{};
}

void TestCommandButton::extrusion()
{
    QFETCH(TCommandButton::Repetition, repetition);
    QFETCH(QPoint, captionAt);
    QFETCH(Shifts, copiesAt);

    const QSize size(120, 50);
    const QRect place(10, 10, 100, 30);
    const QString text = QStringLiteral("Ab");
    const QImage plain = plainCaption(size, place, text);

    TFont3D font3D;
    font3D.setRepetition(repetition);
    font3D.setRepetitionwidth(3);
    font3D.setRepetitionColor(QColor(Qt::blue));
    font3D.setHighlight(QColor(Qt::red));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(crispFont(20));
        font3D.draw(painter, place, text, QColor(Qt::black));
    }

    QList<QPoint> expected = pixelsOf(plain, Qt::black);
    for (QPoint& at : expected)
        at += captionAt;
    QCOMPARE(pixelsOf(image, Qt::black), expected);
    const QList<QPoint> copies = pixelsOf(image, Qt::blue);
    QCOMPARE(copies.isEmpty(), copiesAt.isEmpty());
    for (const QPoint& at : copies) {
        QVERIFY(std::any_of(copiesAt.begin(), copiesAt.end(),
                            [&](QPoint shift) { return inkAt(plain, at - shift); }));
    }
    // The light copy keeps its place relative to the moved caption.
    QVERIFY(!pixelsOf(image, Qt::red).isEmpty());
    for (const QPoint& at : pixelsOf(image, Qt::red))
        QVERIFY(inkAt(plain, at - captionAt + QPoint(1, 1)));
}

QTEST_MAIN(TestCommandButton)
#include "tst_commandbutton.moc"
