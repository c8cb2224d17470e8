// SPDX-License-Identifier: GPL-3.0-or-later
// A course setter's event files: read whole or refused whole with the file, course and control named;
// the ids of the 2004 and 2018 editions each standing for a symbol we have; the lengths of the
// courses; and each course's sheet holding the file's symbols and texts in the file's boxes.
#include "common/TempWorkDir.h"
#include "content/CourseEvent.h"
#include "content/CourseLines.h"
#include "content/CourseSheet.h"
#include "content/CourseSymbolIds.h"
#include "content/Language.h"
#include "platform/AppError.h"

#include <QTest>

namespace {

const QString Events = QStringLiteral(QUILL_TEST_DATA "/events/");

} // namespace

class TestCourses : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void coursesAreListedInOrderWithLengthAndClimb();
    void sheetsKeepTheFilesBoxes();
    void everyIdStandsForOneOfOurSymbols();
    void badFilesAreRefusedWhole_data();
    void badFilesAreRefusedWhole();
    void aFileTooLargeIsNotRead();
    void courseLinesAreTheContentOfItsRounds();

private:
    // Our code of the symbol written `notation`; fails the test for one the table lacks.
    qint32 code(const char* notation) const;
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<SymbolNotation> m_notation;
};

void TestCourses::initTestCase()
{
    Language::activateBuiltIn();
}

void TestCourses::init()
{
    m_dir = std::make_unique<TempWorkDir>();
    QVERIFY(m_dir->copyIn(QStringLiteral(QUILL_RUN_DIR "/") + QLatin1String(SymbolNotation::FileName),
                          QLatin1String(SymbolNotation::FileName)));
    m_notation = std::make_unique<SymbolNotation>();
}

void TestCourses::cleanup()
{
    m_notation.reset();
    m_dir.reset();
}

qint32 TestCourses::code(const char* notation) const
{
    const qint32 c = m_notation->code(QString::fromLatin1(notation));
    if (c == 0)
        qWarning("no symbol is written %s", notation);
    return c;
}

// Courses come in their order, not the file's; a control counts when it is numbered (not the
// start, finish, crossing point or map exchange); the legs are measured at the map's scale, or the
// course's print scale where the file names no map.
void TestCourses::coursesAreListedInOrderWithLengthAndClimb()
{
    const CourseEvent club = readCourseEvent(Events + QStringLiteral("club-training.ppen"));
    QCOMPARE(club.title, QStringLiteral("Club training, Saturday"));
    QCOMPARE(club.standard, CourseEvent::Standard2004);
    QCOMPARE(club.courses.size(), 2);
    const EventCourse& shortCourse = club.courses[0];
    const EventCourse& longCourse = club.courses[1];
    QCOMPARE(shortCourse.name, QStringLiteral("Short"));
    QCOMPARE(club.controlCount(shortCourse), 3);
    // 50 + 60 + 60 + 80 mm at 1:10 000
    QCOMPARE(courseLength(club, shortCourse), QStringLiteral("2.5 km"));
    QCOMPARE(courseClimb(shortCourse), QStringLiteral("45 m"));
    QCOMPARE(longCourse.name, QStringLiteral("Long"));
    QCOMPARE(club.controlCount(longCourse), 5);
    // 593.6 mm through the crossing point and the map exchange, at the map's 1:10 000 (not the
    // course's print scale 1:15 000)
    QCOMPARE(courseLength(club, longCourse), QStringLiteral("5.9 km"));
    QCOMPARE(club.course(QStringLiteral(" long")), &longCourse);
    QVERIFY(!club.course(QStringLiteral("Medium")));

    const CourseEvent sprint = readCourseEvent(Events + QStringLiteral("sprint-2018.ppen"));
    QCOMPARE(sprint.standard, CourseEvent::Standard2018);
    // 280 mm at the print scale 1:4 000; no climb given
    QCOMPARE(courseLength(sprint, sprint.courses[0]), QStringLiteral("1.1 km"));
    QCOMPARE(courseClimb(sprint.courses[0]), QString());
}

// Every row in the file's boxes: symbols by the id table, texts as written, a special instruction
// of a control on the row after it, crossing points and map exchanges as their instruction rows.
// A 2004 file keeps its bend in column G, a 2018 file in F.
void TestCourses::sheetsKeepTheFilesBoxes()
{
    const CourseEvent club = readCourseEvent(Events + QStringLiteral("club-training.ppen"));
    const DescriptionSheet shortSheet = courseSheet(club, club.courses[0], *m_notation);
    QCOMPARE(shortSheet.title, club.title);
    QCOMPARE(shortSheet.course, QStringLiteral("Short"));
    QCOMPARE(shortSheet.climb, QStringLiteral("45 m"));
    QCOMPARE(shortSheet.rows.size(), 5);
    QCOMPARE(shortSheet.rows[0].kind, SheetRow::Start);
    QCOMPARE(shortSheet.rows[0].cells, (LineCells{0, code("5.2"), code("5.2"), code("10.2"), 0, 0}));
    const SheetRow& first = shortSheet.rows[1];
    QCOMPARE(first.code, QStringLiteral("31"));
    QCOMPARE(first.cells, (LineCells{code("0.1:N"), code("2.4"), 0, 0, code("12.1:NW"), code("13.2")}));
    QCOMPARE(first.texts[SheetColumn::F], QStringLiteral("1.5"));
    QCOMPARE(shortSheet.rows[2].cells, (LineCells{0, code("5.2"), 0, 0, code("11.1"), 0}));
    QCOMPARE(shortSheet.rows[3].cells, (LineCells{0, code("2.4"), code("2.4"), 0, code("12.14"), 0}));
    QCOMPARE(shortSheet.rows[3].texts[SheetColumn::F], QStringLiteral("2/3"));
    QCOMPARE(shortSheet.rows[4].kind, SheetRow::Finish);
    QCOMPARE(shortSheet.rows[4].instruction, 998);

    const DescriptionSheet longSheet = courseSheet(club, club.courses[1], *m_notation);
    QStringList rows;
    for (const SheetRow& row : longSheet.rows)
        rows.append(row.kind == SheetRow::Control ? row.code : QString::number(row.instruction));
    QCOMPARE(rows, (QStringList{QStringLiteral("0"), QStringLiteral("31"), QStringLiteral("35"),
                                QStringLiteral("991"), QStringLiteral("993"), QStringLiteral("34"),
                                QStringLiteral("995"), QStringLiteral("136"), QStringLiteral("33"),
                                QStringLiteral("998")}));
    QCOMPARE(longSheet.rows[2].cells,
             (LineCells{code("0.2:SE"), code("1.3"), code("8.4"), 0, code("12.8"), 0}));
    QCOMPARE(longSheet.rows[5].text, QStringLiteral("Gate in the fence"));
    QCOMPARE(longSheet.rows[5].cells, LineCells{});
    QCOMPARE(longSheet.rows[7].cells, (LineCells{0, code("5.21"), 0, 0, code("12.12:S"), code("13.3")}));

    const CourseEvent sprint = readCourseEvent(Events + QStringLiteral("sprint-2018.ppen"));
    const DescriptionSheet sprintSheet = courseSheet(sprint, sprint.courses[0], *m_notation);
    QCOMPARE(sprintSheet.rows[1].cells, (LineCells{0, code("5.2"), 0, code("11.1"), 0, code("13.1")}));
    QCOMPARE(sprintSheet.rows[2].cells, (LineCells{code("0.3"), code("5.11"), 0, 0, code("12.4:NE"), 0}));
    QCOMPARE(sprintSheet.rows.last().instruction, 997);
}

// The table's ids each name a symbol of ours in the column the edition puts it (a directional one
// with each compass point) or a special instruction; ids it lacks are told apart, never guessed.
void TestCourses::everyIdStandsForOneOfOurSymbols()
{
    const QStringList ids = CourseSymbolIds::allIds();
    QCOMPARE(QSet<QString>(ids.cbegin(), ids.cend()).size(), ids.size());
    for (const QString& id : ids) {
        const std::optional<CourseSymbolIds::Target> target = CourseSymbolIds::lookUp(id);
        QVERIFY2(target, qPrintable(id));
        if (target->instruction != 0) {
            QVERIFY2(target->instruction >= 991 && target->instruction <= 999, qPrintable(id));
            continue;
        }
        const qint32 ours = m_notation->code(target->notation);
        QVERIFY2(ours != 0, qPrintable(id + QStringLiteral(" -> ") + target->notation));
        // the group tells the column: 0 is C, 1 to 6 D, 8 E, 10 F, 11 G (its bend F), 12 H
        const int group = id.section(QLatin1Char('.'), 0, 0).toInt();
        const bool bend = id == QLatin1String("11.7");
        const int column = group == 0            ? SheetColumn::C
                           : group <= 6          ? SheetColumn::D
                           : group == 8          ? SheetColumn::E
                           : group == 10 || bend ? SheetColumn::F
                           : group == 11         ? SheetColumn::G
                                                 : SheetColumn::H;
        QVERIFY2(m_notation->column(ours) == column, qPrintable(id));
    }
    const auto ours = [](const char* id) {
        const std::optional<CourseSymbolIds::Target> t = CourseSymbolIds::lookUp(QString::fromLatin1(id));
        return t ? (t->instruction ? QString::number(t->instruction) : t->notation) : QStringLiteral("-");
    };
    // where the 2004 order differs from ours
    QCOMPARE(ours("11.12"), QStringLiteral("12.13"));  // beneath
    QCOMPARE(ours("11.13"), QStringLiteral("12.11"));  // foot
    QCOMPARE(ours("11.8w"), QStringLiteral("12.7:W")); // end
    QCOMPARE(ours("0.1 NE"), QStringLiteral("0.2:NE"));
    QCOMPARE(ours("5.26"), QStringLiteral("5.24")); // railway
    QCOMPARE(ours("13.2"), QStringLiteral("992"));
    QCOMPARE(ours("14.3"), QStringLiteral("999"));
    // the 2004 radio control, a side without its direction, a boulder with one, no id at all
    for (const char* unknown : {"12.3", "11.1", "2.4N", "11.1Q", "5.21", "7.1", "", "x"})
        QVERIFY2(!CourseSymbolIds::lookUp(QString::fromLatin1(unknown)), unknown);
}

void TestCourses::badFilesAreRefusedWhole_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("named");

    const auto row = [](const char* file, const char* message, const QStringList& named) {
        QTest::newRow(file) << QString::fromLatin1(file) << QString::fromLatin1(message) << named;
    };
    const auto words = [](const char* a, const char* b = nullptr, const char* c = nullptr) {
        QStringList list{QString::fromLatin1(a)};
        for (const char* more : {b, c}) {
            if (more)
                list.append(QString::fromLatin1(more));
        }
        return list;
    };
    row("not-xml.ppen", Msg::NotAnEventFile, {});
    row("wrong-root.ppen", Msg::NotAnEventFile, words("<course-event>"));
    row("cut-short.ppen", Msg::NotAnEventFile, {});
    row("two-controls-one-id.ppen", Msg::DamagedFile, {});
    row("loop.ppen", Msg::CourseLoop, words("Orange", "31"));
    row("missing-course-control.ppen", Msg::MissingCourseControl, words("Orange", "7"));
    row("missing-control.ppen", Msg::MissingControl, words("Orange", "12"));
    row("no-description.ppen", Msg::ControlWithoutDescription, words("Orange", "31"));
    row("unknown-id.ppen", Msg::UnknownSymbolId, words("Orange", "31", "12.3"));
    row("instruction-in-a-box.ppen", Msg::DescriptionOutOfPlace, words("Orange", "31", "13.2"));
}

void TestCourses::badFilesAreRefusedWhole()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    QFETCH(QStringList, named);
    const QString path = Events + QStringLiteral("broken/") + file;
    try {
        readCourseEvent(path);
        QFAIL("a bad event file was read");
    } catch (const AppError& error) {
        QCOMPARE(error.messageTemplate(), message);
        QCOMPARE(error.file(), path);
        QCOMPARE(error.arguments().mid(0, named.size()), named);
    }
}

// A file above the limit is refused before a byte of it is taken for XML.
void TestCourses::aFileTooLargeIsNotRead()
{
    QFile big(m_dir->filePath(QStringLiteral("big.ppen")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write("<course-scribe-event>");
    QVERIFY(big.resize(MaxEventFileBytes + 1));
    big.close();
    try {
        readCourseEvent(QStringLiteral("big.ppen"));
        QFAIL("a file above the limit was read");
    } catch (const AppError& error) {
        QCOMPARE(error.messageTemplate(), QString::fromLatin1(Msg::EventFileTooLarge));
        QCOMPARE(error.file(), big.fileName());
    }
}

// The controls of a course, in its order, are what its rounds play: each read out from its boxes (a
// text across the row as written); a quiz offers the lines with the most boxes alike, never one
// that describes the same, nor two that do.
void TestCourses::courseLinesAreTheContentOfItsRounds()
{
    const CourseEvent club = readCourseEvent(Events + QStringLiteral("club-training.ppen"));
    QList<CourseLine> lines = courseLines(courseSheet(club, club.courses[1], *m_notation));
    QStringList codes;
    for (const CourseLine& line : lines)
        codes.append(QString::number(line.number) + QLatin1Char(':') + line.code);
    QCOMPARE(codes, (QStringList{QStringLiteral("1:31"), QStringLiteral("2:35"), QStringLiteral("3:34"),
                                 QStringLiteral("4:136"), QStringLiteral("5:33")}));
    const auto byNotation = [this](qint32 c) { return m_notation->notation(c); };
    QCOMPARE(lineReading(lines[0], byNotation), QStringLiteral("0.1:N, 2.4, 1.5, 12.1:NW, 13.2"));
    QCOMPARE(lineReading(lines[2], byNotation), QStringLiteral("Gate in the fence"));

    // 33 shares its boulder of column D with 31 only; the others are offered nearest first
    QCOMPARE(lookAlikeLines(lines, 4, 3), (QList<int>{0, 3, 2}));
    CourseLine again = lines[0];
    again.code = QStringLiteral("77");
    lines.append(again);
    QVERIFY(again.describesLike(lines[0]));
    QCOMPARE(lookAlikeLines(lines, 4, 5), (QList<int>{5, 3, 2, 1}));
    QCOMPARE(lookAlikeLines(lines, 5, 5), (QList<int>{4, 3, 2, 1}));
}

QTEST_GUILESS_MAIN(TestCourses)
#include "tst_courses.moc"
