// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Learn general": area markers and their mask drawing, the sheet pictures' geometry, the
// legend walkthrough and the legend quiz.
#include "common/TempWorkDir.h"
#include "content/Language.h"
#include "game/CellItem.h"
#include "learning/AreaMarker.h"
#include "learning/LegendAreas.h"
#include "learning/LegendPage.h"
#include "learning/LegendQuiz.h"
#include "learning/SheetPictures.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <stdexcept>

namespace {

const QString LayoutNote = QStringLiteral("The most impotant items lie to the right of thicker lines");
const QString ResourceNote = QStringLiteral("The most important items lie to the right of thicker lines");

// The legend texts file of the fixtures: "<i> Area <i>", and for the columns 8..15 a four-character
// prefix before the text: "<i> A - Column A".
bool isColumnItem(int i)
{
    return i >= 8 && i <= 15;
}

QChar columnLetter(int i)
{
    return QLatin1Char(char('A' + i - 8));
}

QByteArray legendTexts()
{
    QString file;
    for (int i = 1; i <= 29; ++i) {
        file += isColumnItem(i) ? QStringLiteral("%1 %2 - Column %2\r\n").arg(i).arg(columnLetter(i))
                                : QStringLiteral("%1 Area %1\r\n").arg(i);
    }
    return file.toLatin1();
}

// What the quiz asks for item i.
QString expectedItemText(int i)
{
    return isColumnItem(i) ? QStringLiteral("Column %1").arg(columnLetter(i))
                           : QStringLiteral("Area %1").arg(i);
}

// A bare page "Learn general" with the controls of the main window that the page uses.
struct PageFixture
{
    QWidget page;
    QLabel* sheetPicture = new QLabel(&page);
    QLabel* columnPicture = new QLabel(&page);
    QPlainTextEdit* stepText = new QPlainTextEdit(&page);
    QLabel* note = new QLabel(LayoutNote, &page);
    QLabel title;
    QWidget next;
    QWidget back;
    std::unique_ptr<LegendPage> legend;

    PageFixture()
    {
        page.setObjectName(QStringLiteral("TabSheet1"));
        page.resize(605, 438);
        sheetPicture->setGeometry(0, 0, 209, 337);
        columnPicture->setGeometry(392, 176, 209, 161);
        stepText->setGeometry(248, 0, 353, 169);
        stepText->setReadOnly(true);
        stepText->setEnabled(false);
        note->setGeometry(360, 328, 241, 57);
        legend = std::make_unique<LegendPage>(
            LegendControls{&page, sheetPicture, columnPicture, stepText, note, &title, &next, &back});
        page.show();
    }

    QList<int> shownTags() const
    {
        QList<int> tags;
        for (int tag = 1; tag <= LegendAreaTable::AreaCount; ++tag) {
            if (!legend->AreaByTag(tag)->isHidden())
                tags << tag;
        }
        return tags;
    }

    // A mouse move to `pos` on the page, delivered to the control there as the window would.
    void moveTo(QPoint pos)
    {
        QWidget* target = page.childAt(pos);
        if (!target)
            target = &page;
        QMouseEvent move(QEvent::MouseMove, target->mapFrom(&page, pos), page.mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }

    void press(int tag, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(legend->AreaByTag(tag), button);
    }
};

QList<int> quizTags()
{
    return {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15};
}

// A deterministic generator: the scripted draws first, then 0, k, 2k, ... modulo n, which
// visits every value when k and n share no factor.
void installDraws(QList<int> script, int step = 7)
{
    auto state = std::make_shared<std::pair<QList<int>, int>>(std::move(script), 0);
    setRandomOverride([state, step](int n) {
        if (!state->first.isEmpty())
            return state->first.takeFirst();
        return (state->second++ * step) % n;
    });
}

// The marker rectangle that outlines the cell between lines a..b across and c..d down.
QRect onLines(int a, int b, int c, int d)
{
    return QRect(QPoint(a - 1, c - 1), QPoint(b, d));
}

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 64;
}

} // namespace

class TestLearning : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Language::activateBuiltIn(); }
    void cleanup() { setRandomOverride({}); }

    void markersFromTable();
    void areaByTagUnknownTag();
    void markersLieOnSheetLines();
    void sheetPicturesFollowGeometry();
    void sheetSymbolsFromFont();

    void maskModePixels_data();
    void maskModePixels();
    void circleIsOpaque();

    void walkthroughEntry();
    void walkthroughTitles_data();
    void walkthroughTitles();
    void walkthroughEnds();
    void walkthroughReentryAndMissingTexts();

    void quizEntry();
    void quizFirstQuestion_data();
    void quizFirstQuestion();
    void quizWholeRun();
    void quizItemTexts();
    void quizIgnoresMarkersOutsideQuiz();
    void hoverHighlight();
};

void TestLearning::markersFromTable()
{
    PageFixture f;
    QVERIFY(f.shownTags().isEmpty());
    for (int tag = 1; tag <= LegendAreaTable::AreaCount; ++tag)
        QCOMPARE(f.legend->AreaByTag(tag)->Tag(), tag);
    // white outline and white fill: the marker below the pictures leaves the page as it is
    QCOMPARE(f.legend->AreaByTag(7)->outlineColor(), AreaMarker::White);
    // steps 6 and 16 share a place but not a marker
    QCOMPARE(f.legend->AreaByTag(6)->geometry(), f.legend->AreaByTag(16)->geometry());
    QVERIFY(f.legend->AreaByTag(6) != f.legend->AreaByTag(16));

    f.legend->SetAreasVisible(true);
    QCOMPARE(f.shownTags().size(), LegendAreaTable::AreaCount);
    // above the pictures: a point of a marker finds the marker
    QCOMPARE(f.page.childAt(QPoint(40, 16)), f.legend->AreaByTag(1));
    QCOMPARE(f.page.childAt(QPoint(400, 250)), f.legend->AreaByTag(8));
    f.legend->SetAreasVisible(false);
    QVERIFY(f.shownTags().isEmpty());
}

void TestLearning::areaByTagUnknownTag()
{
#ifdef QT_NO_DEBUG
    PageFixture f;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, f.legend->AreaByTag(0));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, f.legend->AreaByTag(30));
#else
    QSKIP("asking for an unknown tag asserts in debug builds");
#endif
}

void TestLearning::markersLieOnSheetLines()
{
    using namespace SheetGeometry;
    PageFixture f;
    const auto place = [&f](int tag) { return f.legend->AreaByTag(tag)->geometry(); };
    const int left = TableColumns.front();
    const int right = TableColumns.back();
    for (int cellIndex = 0; cellIndex < 3; ++cellIndex)
        QCOMPARE(place(1 + cellIndex), onLines(TopRowCells[cellIndex], TopRowCells[cellIndex + 1],
                                               TableRows[TopRow], TableRows[TopRow + 1]));
    QCOMPARE(place(4), onLines(left, right, TableRows[StartRow], TableRows[StartRow + 1]));
    QCOMPARE(place(5), onLines(left, right, TableRows[FirstDescriptionRow], TableRows[BottomRow]));
    QCOMPARE(place(6), onLines(left, right, TableRows[BottomRow], TableRows[BottomRow + 1]));
    QCOMPARE(place(16), place(6));
    for (int column = 0; column < ColumnCount; ++column) {
        const QRect expected = onLines(PictureColumns[column], PictureColumns[column + 1],
                                       PictureRows.front(), PictureRows.back())
                                   .translated(ColumnPictureOrigin);
        QCOMPARE(place(8 + column), expected);
    }
    // marker 7 lies outside both pictures
    QVERIFY(!place(7).intersects(f.sheetPicture->geometry()));
    QVERIFY(!place(7).intersects(f.columnPicture->geometry()));
    // each circle marks one row of the table picture, to its right
    for (int tag = LegendAreaTable::FirstRowCircle; tag <= LegendAreaTable::AreaCount; ++tag) {
        const int row = tag - LegendAreaTable::FirstRowCircle;
        const int centre = place(tag).center().y();
        QVERIFY2(centre > TableRows[row] && centre < TableRows[row + 1], qPrintable(QString::number(tag)));
        QVERIFY(place(tag).left() >= TableSize.width());
    }
}

void TestLearning::sheetPicturesFollowGeometry()
{
    using namespace SheetGeometry;
    const QImage table = SheetPictures::tablePicture(false);
    QCOMPARE(table.size(), TableSize);
    const int inColumnA = TableColumns[0] + 2;
    for (int r = 0; r < static_cast<int>(TableRows.size()); ++r)
        QVERIFY2(isInk(table.pixel(inColumnA, TableRows[r])), qPrintable(QString::number(r)));
    // a thicker line after every third description line, thin lines elsewhere
    for (int line = 1; line < DescriptionLineCount; ++line) {
        const int y = TableRows[FirstDescriptionRow + line];
        QCOMPARE(isInk(table.pixel(inColumnA, y - 1)), line % LinesPerGroup == 0);
    }
    // the columns run from the start row to the last description line
    for (int x : TableColumns) {
        QVERIFY(isInk(table.pixel(x, TableRows[StartRow] + 2)));
        QVERIFY(isInk(table.pixel(x, TableRows[BottomRow] - 2)));
    }
    // the top row has three cells, the bottom row none
    const int topRowTop = TableRows[TopRow] + 2;
    for (int x : TopRowCells)
        QVERIFY(isInk(table.pixel(x, topRowTop)));
    QVERIFY(!isInk(table.pixel(TableColumns[1], topRowTop)));
    QVERIFY(!isInk(table.pixel(TableColumns[3], TableRows[BottomRow] + 2)));

    const QImage columns = SheetPictures::columnPicture(false);
    QCOMPARE(columns.size(), ColumnPictureSize);
    for (int x : PictureColumns)
        QVERIFY(isInk(columns.pixel(x, PictureRows.front() + 2)));
    for (int y : PictureRows)
        QVERIFY(isInk(columns.pixel(PictureColumns[0] + 3, y)));
    QVERIFY(isInk(columns.pixel(PictureColumns[0] + 3, PictureRows[LinesPerGroup] - 1)));
    QVERIFY(!isInk(columns.pixel(PictureColumns[0] + 3, PictureRows[1] - 1)));
    // the column letters stand above the lines, between them
    for (int c = 0; c < ColumnCount; ++c) {
        const QRect letter(QPoint(PictureColumns[c] + 1, LetterTop),
                           QPoint(PictureColumns[c + 1] - 1, LetterBottom));
        bool inked = false;
        for (int y = letter.top(); y <= letter.bottom() && !inked; ++y)
            for (int x = letter.left(); x <= letter.right() && !inked; ++x)
                inked = isInk(columns.pixel(x, y));
        QVERIFY2(inked, qPrintable(QString::number(c)));
    }
}

void TestLearning::sheetSymbolsFromFont()
{
    using namespace SheetGeometry;
    const QString fontFile = QStringLiteral(QUILL_RUN_DIR "/Pictor07.TTF");
    if (!SheetPictures::symbolFontAvailable()) {
        if (!QFile::exists(fontFile))
            QSKIP("the symbol font has not been built");
        QVERIFY(QFontDatabase::addApplicationFont(fontFile) >= 0);
    }
    QVERIFY(SheetPictures::symbolFontAvailable());
    // column D of the first description line holds a symbol: drawn from the font, not as a box
    const QRect cellD(QPoint(TableColumns[3] + 1, TableRows[FirstDescriptionRow] + 1),
                      QPoint(TableColumns[4] - 1, TableRows[FirstDescriptionRow + 1] - 1));
    const QImage withFont = SheetPictures::tablePicture(true).copy(cellD);
    const QImage without = SheetPictures::tablePicture(false).copy(cellD);
    QVERIFY(withFont != without);
    int ink = 0;
    for (int y = 0; y < withFont.height(); ++y)
        for (int x = 0; x < withFont.width(); ++x)
            ink += isInk(withFont.pixel(x, y)) ? 1 : 0;
    QVERIFY(ink > 10);
}

void TestLearning::maskModePixels_data()
{
    QTest::addColumn<QColor>("fill");
    QTest::newRow("white") << AreaMarker::White;
    QTest::newRow("lime") << AreaMarker::HoverBlue;
}

void TestLearning::maskModePixels()
{
    QFETCH(QColor, fill);
    PageFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    // a picture whose every pixel differs, so that each can be checked for the AND
    QImage picture(f.sheetPicture->size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, 0xC0 | ((x + y) & 0x3F)));
    f.sheetPicture->setPixmap(QPixmap::fromImage(picture));
    AreaMarker* marker = f.legend->AreaByTag(1);
    marker->setFillColor(fill);
    marker->show();
    const QImage page = f.page.grab().toImage().convertToFormat(QImage::Format_RGB32);

    const QRect place = marker->geometry();
    const QRect inside =
        place.adjusted(AreaMarker::RectangleOutlineWidth, AreaMarker::RectangleOutlineWidth,
                       -AreaMarker::RectangleOutlineWidth, -AreaMarker::RectangleOutlineWidth);
    const QRgb navy = AreaMarker::Navy.rgb() & RGB_MASK;
    const QRgb mask = fill.rgb() & RGB_MASK;
    const QRect around = place.adjusted(-2, -2, 2, 2) & f.sheetPicture->geometry();
    for (int y = around.top(); y <= around.bottom(); ++y) {
        for (int x = around.left(); x <= around.right(); ++x) {
            const QRgb source = picture.pixel(x, y) & RGB_MASK;
            QRgb expected = source;
            if (inside.contains(x, y))
                expected = source & mask;
            else if (place.contains(x, y))
                expected = source & navy;
            QCOMPARE(page.pixel(x, y) & RGB_MASK, expected);
        }
    }
}

void TestLearning::circleIsOpaque()
{
    PageFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    AreaMarker* circle = f.legend->AreaByTag(17);
    circle->show();
    const QImage page = f.page.grab().toImage();
    const QRect place = circle->geometry();
    QCOMPARE(page.pixelColor(place.center()), circle->palette().color(QPalette::ToolTipBase));
    // the outline, three pixels wide, inside the marker's edge
    QCOMPARE(page.pixelColor(place.center().x(), place.top() + 1), AreaMarker::Navy);
}

void TestLearning::walkthroughEntry()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("legtab.eng"), legendTexts()));
    PageFixture f;
    QCOMPARE(f.note->text(), LayoutNote);
    QCOMPARE(f.legend->LegendStep(), 1);
    QVERIFY(f.sheetPicture->pixmap().isNull()); // the sheet is drawn on the first entry

    f.legend->enterWalkthrough();
    QCOMPARE(f.sheetPicture->pixmap().size(), f.sheetPicture->size());
    QCOMPARE(f.columnPicture->pixmap().size(), f.columnPicture->size());
    QCOMPARE(f.note->text(), ResourceNote);
    QCOMPARE(f.legend->LegendStep(), 1);
    QCOMPARE(f.title.text(),
             QStringLiteral("The table of legends CP contains such information : \nStep 1 of 29"));
    QCOMPARE(f.shownTags(), QList<int>{1});
    QCOMPARE(f.stepText->toPlainText(), QStringLiteral("Area 1"));
    QVERIFY(!f.back.isEnabled());
    QVERIFY(f.next.isEnabled());
    QCOMPARE(f.page.cursor().shape(), Qt::ArrowCursor);

    // six presses reach the area outside the pictures, which opens the columns: marker 7 alone
    for (int i = 0; i < 6; ++i)
        f.legend->next();
    QCOMPARE(f.legend->LegendStep(), 7);
    QCOMPARE(f.title.text(), LoadString(StringId::ColumnsTitle) + QStringLiteral("\nStep 7 of 29"));
    QCOMPARE(f.shownTags(), QList<int>{7});
    QCOMPARE(f.stepText->toPlainText(), QStringLiteral("Area 7"));
    QVERIFY(f.back.isEnabled());
    QVERIFY(f.next.isEnabled());
}

void TestLearning::walkthroughTitles_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("titleId"); // 0: empty
    QTest::newRow("1") << 1 << int(StringId::WalkthroughTitle);
    QTest::newRow("6") << 6 << int(StringId::WalkthroughTitle);
    QTest::newRow("7") << 7 << int(StringId::ColumnsTitle); // no step without a heading
    QTest::newRow("8") << 8 << int(StringId::ColumnsTitle);
    QTest::newRow("15") << 15 << int(StringId::ColumnsTitle);
    QTest::newRow("16") << 16 << int(StringId::MarkedRouteTitle);
    QTest::newRow("17") << 17 << int(StringId::LineMeaningTitle);
    QTest::newRow("29") << 29 << int(StringId::LineMeaningTitle);
}

void TestLearning::walkthroughTitles()
{
    QFETCH(int, step);
    QFETCH(int, titleId);
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("legtab.eng"), legendTexts()));
    PageFixture f;
    f.legend->enterWalkthrough();
    for (int i = 1; i < step; ++i)
        f.legend->next();
    QCOMPARE(f.legend->LegendStep(), step);
    const QString expected = LoadString(titleId) + QStringLiteral("\nStep %1 of 29").arg(step);
    QVERIFY(!LoadString(titleId).isEmpty());
    QCOMPARE(f.title.text(), expected);
    QCOMPARE(f.shownTags(), QList<int>{step});
    // going back onto the step gives the same title
    if (step < 29) {
        f.legend->next();
        f.legend->back();
        QCOMPARE(f.title.text(), expected);
        QCOMPARE(f.shownTags(), QList<int>{step});
    }
}

void TestLearning::walkthroughEnds()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("legtab.eng"), legendTexts()));
    PageFixture f;
    f.legend->enterWalkthrough();
    for (int i = 0; i < 27; ++i)
        f.legend->next();
    QCOMPARE(f.legend->LegendStep(), 28);
    QVERIFY(f.next.isEnabled());
    f.legend->next();
    QCOMPARE(f.legend->LegendStep(), 29);
    // the last step's "Next" offers the quiz
    QVERIFY(f.next.isEnabled());
    QCOMPARE(f.next.property("Caption").toString(), LoadString(StringId::TryQuizCaption));
    QSignalSpy quiz(f.legend.get(), &LegendPage::quizRequested);
    f.legend->next();
    QCOMPARE(quiz.count(), 1);
    QCOMPARE(f.legend->LegendStep(), 29);
    QVERIFY(f.back.isEnabled());
    QCOMPARE(f.shownTags(), QList<int>{29});
    QCOMPARE(f.legend->AreaByTag(29)->geometry().top(), 313);
    QCOMPARE(f.stepText->toPlainText(), QStringLiteral("Area 29"));
    // past the end nothing moves
    f.legend->next();
    QCOMPARE(f.legend->LegendStep(), 29);

    f.legend->back();
    QCOMPARE(f.legend->LegendStep(), 28);
    QVERIFY(f.next.isEnabled());
    QCOMPARE(f.shownTags(), QList<int>{28});
    QCOMPARE(f.stepText->toPlainText(), QStringLiteral("Area 28"));

    // back to the start: Back disabled at step 1, and stays there
    for (int i = 0; i < 27; ++i)
        f.legend->back();
    QCOMPARE(f.legend->LegendStep(), 1);
    QVERIFY(!f.back.isEnabled());
    QVERIFY(f.next.isEnabled());
    f.legend->back();
    QCOMPARE(f.legend->LegendStep(), 1);
    QCOMPARE(f.shownTags(), QList<int>{1});

    // steps 6 and 16: one rectangle, two titles
    for (int i = 0; i < 5; ++i)
        f.legend->next();
    const QRect place6 = f.legend->AreaByTag(f.shownTags().value(0))->geometry();
    const QString title6 = f.title.text();
    for (int i = 0; i < 10; ++i)
        f.legend->next();
    QCOMPARE(f.legend->LegendStep(), 16);
    QCOMPARE(f.legend->AreaByTag(f.shownTags().value(0))->geometry(), place6);
    QVERIFY(f.title.text() != title6);
    QCOMPARE(f.stepText->toPlainText(), QStringLiteral("Area 16"));
}

void TestLearning::walkthroughReentryAndMissingTexts()
{
    TempWorkDir dir; // no legend texts file
    PageFixture f;
    f.legend->enterWalkthrough();
    for (int i = 0; i < 28; ++i)
        f.legend->next();
    QCOMPARE(f.legend->LegendStep(), 29);
    QCOMPARE(f.stepText->toPlainText(), QString());
    f.note->setText(LayoutNote);

    // "Main menu", then the walkthrough again
    f.legend->leave();
    f.legend->enterWalkthrough();
    QCOMPARE(f.legend->LegendStep(), 1);
    QVERIFY(f.next.isEnabled());
    QVERIFY(!f.back.isEnabled());
    QCOMPARE(f.shownTags(), QList<int>{1});
    QCOMPARE(f.note->text(), ResourceNote);
    QCOMPARE(f.stepText->toPlainText(), QString());
}

void TestLearning::quizEntry()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("legtab.eng"), legendTexts()));
    installDraws({});
    PageFixture f;
    f.legend->enterQuiz();
    QVERIFY(!f.sheetPicture->pixmap().isNull() && !f.columnPicture->pixmap().isNull());
    QCOMPARE(f.shownTags(), quizTags());
    QVERIFY(quizTags().contains(f.legend->AskedItem()));
    QCOMPARE(f.legend->AskedText(), expectedItemText(f.legend->AskedItem()));
    QCOMPARE(f.stepText->toPlainText(), f.legend->AskedText());
    QCOMPARE(f.page.cursor().shape(), Qt::PointingHandCursor);
    for (int i = 1; i <= 15; ++i) {
        QCOMPARE(f.legend->QuizItem(i)->Cleared(), i == 7);
        // the file is named "Legtab.eng" in the quiz and "legtab.eng" here: case does not matter
        QCOMPARE(f.legend->QuizItem(i)->Text, expectedItemText(i));
    }
    // the items are made once and kept
    CellItem* first = f.legend->QuizItem(1);
    f.legend->enterQuiz();
    QCOMPARE(f.legend->QuizItem(1), first);
}

void TestLearning::quizFirstQuestion_data()
{
    QTest::addColumn<int>("item");
    for (int item : quizTags())
        QTest::newRow(qPrintable(QString::number(item))) << item;
}

void TestLearning::quizFirstQuestion()
{
    QFETCH(int, item);
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("legtab.eng"), legendTexts()));
    // item 7 drawn first is drawn again
    installDraws({6, item - 1});
    PageFixture f;
    f.legend->enterQuiz();
    QCOMPARE(f.legend->AskedItem(), item);
    QCOMPARE(f.stepText->toPlainText(), expectedItemText(item));
}

void TestLearning::quizWholeRun()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("legtab.eng"), legendTexts()));
    installDraws({});
    PageFixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    QSignalSpy finished(f.legend.get(), &LegendPage::quizFinished);
    QStringList shown;
    MessageBoxes::setHandler([&shown](MessageBoxes::Kind, const QString& text) { shown << text; });
    const auto noHandler = qScopeGuard([] { MessageBoxes::setHandler({}); });
    f.legend->enterQuiz();

    QList<int> open = quizTags();
    int rightFirstTime = 0;
    for (int round = 1; round <= 14; ++round) {
        const int asked = f.legend->AskedItem();
        const bool missed = round > 1 && open.size() > 1;
        rightFirstTime += missed ? 0 : 1;
        QVERIFY2(open.contains(asked), qPrintable(QString::number(asked)));
        QVERIFY(!f.legend->QuizItem(asked)->Cleared());
        QCOMPARE(f.stepText->toPlainText(), expectedItemText(asked));
        QVERIFY(!f.legend->AreaByTag(asked)->isHidden());

        // wrong presses, with any button, keep the question and outline the right area (the first
        // question is answered at once, and only it scores)
        for (int other : open) {
            if (other != asked && round > 1)
                f.press(other, other % 2 ? Qt::LeftButton : Qt::RightButton);
        }
        QCOMPARE(f.legend->AreaByTag(asked)->emphasis(), missed);
        QCOMPARE(f.legend->AskedItem(), asked);
        QCOMPARE(f.stepText->toPlainText(), expectedItemText(asked));
        QCOMPARE(f.shownTags(), open);
        QCOMPARE(finished.count(), 0);

        f.press(asked, round % 3 ? Qt::LeftButton : Qt::MiddleButton);
        open.removeOne(asked);
        QVERIFY(f.legend->QuizItem(asked)->Cleared());
        QCOMPARE(f.shownTags(), open);
        QCOMPARE(finished.count(), round == 14 ? 1 : 0);
    }
    QVERIFY(open.isEmpty());
    // the title kept the score, and a summary closes the quiz
    QCOMPARE(rightFirstTime, 2);
    QVERIFY(f.title.text().endsWith(LoadString(StringId::QuizScore).arg(rightFirstTime).arg(14)));
    QCOMPARE(shown, QStringList{LoadString(StringId::QuizSummary).arg(rightFirstTime).arg(14)});
    for (int i = 1; i <= 15; ++i)
        QVERIFY(f.legend->QuizItem(i)->Cleared());
    QVERIFY(!f.legend->quizActive());

    // a new quiz asks all fourteen areas again
    f.legend->enterQuiz();
    QCOMPARE(f.shownTags(), quizTags());
    for (int i = 1; i <= 15; ++i)
        QCOMPARE(f.legend->QuizItem(i)->Cleared(), i == 7);
}

void TestLearning::quizItemTexts()
{
    // a question never starts with the label the sheet shows, which is its answer
    QCOMPARE(LegendQuiz::promptText(QStringLiteral("7.5 km: the length of the course")),
             QStringLiteral("The length of the course"));
    QCOMPARE(LegendQuiz::promptText(QStringLiteral("Area 3")), QStringLiteral("Area 3"));
    // the sheet's top row is drawn with the label as the language writes it, space before ':' too
    QCOMPARE(LegendQuiz::sheetLabel(QStringLiteral("7,5 km : la longueur du circuit")),
             QStringLiteral("7,5 km"));
    QCOMPARE(LegendQuiz::sheetLabel(QStringLiteral("Area 3")), QString());
    TempWorkDir dir;
    // entry 3 missing, entry 9 shorter than the column prefix, entry 12 exactly the prefix
    QVERIFY(dir.write(QStringLiteral("LEGTAB.ENG"), "1 One\r\n2 Two\r\n8 A - Number\r\n9 B-\r\n12 E - \r\n"
                                                    "13 F - Size\r\n"));
    installDraws({2}); // item 3 first
    PageFixture f;
    QSignalSpy finished(f.legend.get(), &LegendPage::quizFinished);
    f.legend->enterQuiz();
    QCOMPARE(f.legend->QuizItem(1)->Text, QStringLiteral("One"));
    QCOMPARE(f.legend->QuizItem(8)->Text, QStringLiteral("Number"));
    QCOMPARE(f.legend->QuizItem(9)->Text, QString());
    QCOMPARE(f.legend->QuizItem(12)->Text, QString());
    QCOMPARE(f.legend->QuizItem(13)->Text, QStringLiteral("Size"));
    QCOMPARE(f.legend->QuizItem(3)->Text, QString());
    // an item without text is asked and found like any other
    QCOMPARE(f.legend->AskedItem(), 3);
    QCOMPARE(f.stepText->toPlainText(), QString());
    f.press(3);
    QVERIFY(f.legend->AreaByTag(3)->isHidden());
    QVERIFY(f.legend->AskedItem() != 3);
    QCOMPARE(finished.count(), 0);
}

void TestLearning::quizIgnoresMarkersOutsideQuiz()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("legtab.eng"), legendTexts()));
    PageFixture f;
    f.legend->enterWalkthrough();
    f.press(1);
    f.moveTo(QPoint(40, 16));
    QVERIFY(!f.legend->AreaByTag(1)->isHidden());
    QCOMPARE(f.legend->AreaByTag(1)->fillColor(), AreaMarker::StepTint); // the step's own tint

    installDraws({0}); // item 1 asked
    f.legend->enterQuiz();
    QCOMPARE(f.legend->AskedItem(), 1);
    f.legend->leave();
    f.press(1);
    QVERIFY(!f.legend->AreaByTag(1)->isHidden());
    QVERIFY(!f.legend->QuizItem(1)->Cleared());

    // a highlight left by a quiz is gone in the walkthrough
    f.legend->enterQuiz();
    f.moveTo(QPoint(40, 16));
    QCOMPARE(f.legend->AreaByTag(1)->fillColor(), AreaMarker::HoverBlue);
    f.legend->leave();
    f.legend->enterWalkthrough();
    QCOMPARE(f.legend->AreaByTag(1)->fillColor(), AreaMarker::StepTint);
    QVERIFY(f.legend->AreaByTag(1)->emphasis());
}

void TestLearning::hoverHighlight()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("legtab.eng"), legendTexts()));
    installDraws({});
    PageFixture f;
    f.legend->enterQuiz();
    AreaMarker* course = f.legend->AreaByTag(1);
    AreaMarker* columnD = f.legend->AreaByTag(11);
    QSignalSpy courseChanges(course, &AreaMarker::fillColorChanged);
    QSignalSpy columnChanges(columnD, &AreaMarker::fillColorChanged);
    const auto hoverTags = [&f] {
        QList<int> tags;
        for (int tag : quizTags()) {
            if (f.legend->AreaByTag(tag)->fillColor() == AreaMarker::HoverBlue)
                tags << tag;
        }
        return tags;
    };

    f.moveTo(QPoint(40, 16));
    QCOMPARE(hoverTags(), QList<int>{1});
    // moving within one area changes no colour
    f.moveTo(QPoint(50, 20));
    f.moveTo(QPoint(60, 12));
    QCOMPARE(courseChanges.count(), 1);

    // onto another area: the first turns white, the second lime
    f.moveTo(QPoint(480, 250));
    QCOMPARE(hoverTags(), QList<int>{11});
    QCOMPARE(courseChanges.count(), 2);
    QCOMPARE(columnChanges.count(), 1);

    // onto a picture where no marker lies, onto the memo and the note: nothing changes, also when
    // a control passes the moves on to the page
    f.sheetPicture->setMouseTracking(true);
    f.note->setMouseTracking(true);
    f.moveTo(QPoint(400, 180)); // the column letters of columnPicture
    f.moveTo(QPoint(1, 100));   // the left edge of sheetPicture
    f.moveTo(QPoint(300, 50));  // stepText
    f.moveTo(QPoint(500, 370)); // note
    QCOMPARE(hoverTags(), QList<int>{11});

    // onto the bare page: all white
    f.moveTo(QPoint(300, 250));
    QVERIFY(hoverTags().isEmpty());
    QCOMPARE(columnChanges.count(), 2);
    f.moveTo(QPoint(310, 260));
    QCOMPARE(columnChanges.count(), 2);
    QCOMPARE(courseChanges.count(), 2);

    // the bare page clears the highlight in any mode
    f.moveTo(QPoint(480, 250));
    f.legend->leave();
    f.moveTo(QPoint(300, 250));
    QVERIFY(hoverTags().isEmpty());
}

QTEST_MAIN(TestLearning)
#include "tst_learning.moc"
