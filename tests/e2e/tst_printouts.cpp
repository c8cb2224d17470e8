// SPDX-License-Identifier: GPL-3.0-or-later
// The printouts for a coach, made as a coach makes them: the built program in a copy of its folder,
// started from another folder without any display, its PDF files read back by poppler's tools (an
// independent reader) and compared with the content's sources: the names of every symbol, in the
// order of the standards, the test's symbols in the key, and the failures a coach can meet.
#include "common/TempWorkDir.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Source = QStringLiteral(QUILL_SOURCE_DIR);

// The numbered lines of a text source of the content ("33 Northern"), in file order.
QList<QPair<qint32, QString>> numberedSource(const QString& relative)
{
    QFile file(Source + QLatin1Char('/') + relative);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QPair<qint32, QString>> lines;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        if (blank > 0)
            lines.append({line.left(blank).toInt(), line.mid(blank + 1)});
    }
    return lines;
}

QHash<qint32, QString> namesOf(const QString& relative)
{
    QHash<qint32, QString> names;
    for (const auto& [number, text] : numberedSource(relative))
        names.insert(number, text);
    return names;
}

// The places of test `number` of a catalogue source: each a value, or the values of a group of
// which the test takes one.
QList<QList<qint32>> testPlaces(const QString& relative, qint32 number)
{
    QFile file(Source + QLatin1Char('/') + relative);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 0; i + 2 < lines.size(); ++i) {
        if (!lines[i].startsWith(QByteArray(QByteArray::number(number) + ' ')))
            continue;
        QList<QList<qint32>> places;
        bool inGroup = false;
        for (const QByteArray& word : lines[i + 2].simplified().split(' ')) {
            if (word == "{") {
                inGroup = true;
                places.append(QList<qint32>());
            } else if (word == "}") {
                inGroup = false;
            } else if (inGroup) {
                places.last().append(word.mid(1).toInt());
            } else {
                places.append(QList<qint32>{word.mid(1).toInt()});
            }
        }
        return places;
    }
    return {};
}

// Text without any white space: names wrapped in a narrow column are compared whole.
QString squeezed(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s+")));
}

} // namespace

class TestPrintouts : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void quizzesOfEveryKindWithTheirKeys();
    void handoutsNameEverySymbolInOrder();
    void sheetFromAFileOnEitherPaper();
    void coursesOfAnEventFileListedAndPrinted();
    void failuresNameTheFileAndKeepWhatWasThere();

private:
    // Runs the copied program from the caller's folder, with no display at all, in language `lang`.
    int run(const QStringList& arguments, QString* output = nullptr,
            const QString& lang = QStringLiteral("C"));
    QString caller(const QString& name) const { return QDir(m_caller->path()).filePath(name); }
    // The output of a poppler tool; fails the test when it cannot run.
    QString poppler(const QString& tool, const QStringList& arguments);
    QString pageText(const QString& pdf, int page, bool raw = false);
    int pages(const QString& pdf);

    std::unique_ptr<TempWorkDir> m_program;
    std::unique_ptr<QTemporaryDir> m_caller;
};

void TestPrintouts::init()
{
    m_program = std::make_unique<TempWorkDir>();
    m_caller = std::make_unique<QTemporaryDir>();
    QVERIFY(m_program->copyProgramFolder(true));
}

void TestPrintouts::cleanup()
{
    m_program.reset();
    m_caller.reset();
}

int TestPrintouts::run(const QStringList& arguments, QString* output, const QString& lang)
{
    QProcess quill;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES",
                             "LC_PAPER", "LC_MEASUREMENT", "LANGUAGE"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LANG"), lang);
    quill.setProcessEnvironment(env);
    quill.setWorkingDirectory(m_caller->path());
    quill.setProcessChannelMode(QProcess::MergedChannels);
    quill.start(m_program->filePath(QStringLiteral("quill")), arguments);
    if (!quill.waitForFinished(120000))
        return -1;
    if (output)
        *output = QString::fromUtf8(quill.readAll());
    return quill.exitStatus() == QProcess::NormalExit ? quill.exitCode() : -1;
}

QString TestPrintouts::poppler(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        QTest::qFail(qPrintable(tool + QStringLiteral(" failed (poppler-utils installed?): ") +
                                QString::fromUtf8(process.readAllStandardError())),
                     __FILE__, __LINE__);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString TestPrintouts::pageText(const QString& pdf, int page, bool raw)
{
    QStringList arguments{QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"),
                          QString::number(page),  QStringLiteral("-l"),    QString::number(page)};
    if (raw)
        arguments << QStringLiteral("-raw");
    return poppler(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
}

int TestPrintouts::pages(const QString& pdf)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                          .match(poppler(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The quiz is the first page, its answer key the second: the key names every symbol the test asks
// (one of each group), the quiz of symbols names none of them, the quiz of whole lines offers each
// line's reading among its four.
void TestPrintouts::quizzesOfEveryKindWithTheirKeys()
{
    const struct
    {
        qint32 test;
        const char* catalogue;
        const char* names;
        bool offersReadings;
    } quizzes[] = {{101, "data/text/eng/TypesLeg.eng", "data/text/eng/Legends.eng", false},
                   {201, "data/text/eng/types.eng", "data/text/eng/Bitm1.eng", true},
                   {301, "data/text/eng/TypesSym.eng", "data/text/eng/Symbols.eng", false}};
    for (const auto& q : quizzes) {
        const QString pdf = caller(QStringLiteral("quiz-%1.pdf").arg(q.test));
        QString output;
        QCOMPARE(run({QStringLiteral("--print-test"), QString::number(q.test), QStringLiteral("--pdf"),
                      QStringLiteral("quiz-%1.pdf").arg(q.test)},
                     &output),
                 0);
        QCOMPARE(pages(pdf), 2);
        const QString quiz = squeezed(pageText(pdf, 1, true)); // in drawing order: a reading stays whole
        const QString key = squeezed(pageText(pdf, 2));
        QVERIFY2(key.startsWith(squeezed(QStringLiteral("Answer key - test %1").arg(q.test))),
                 qPrintable(key));
        const QHash<qint32, QString> names = namesOf(QString::fromLatin1(q.names));
        const QList<QList<qint32>> places = testPlaces(QString::fromLatin1(q.catalogue), q.test);
        QVERIFY(places.size() >= 10);
        for (const QList<qint32>& place : places) {
            int named = 0;
            for (const qint32 value : place) {
                const QString name = squeezed(names.value(value));
                QVERIFY(!name.isEmpty());
                if (key.contains(name))
                    ++named;
                if (!q.offersReadings)
                    QVERIFY2(!quiz.contains(name), qPrintable(name));
                else if (key.contains(name))
                    QVERIFY2(quiz.contains(name), qPrintable(name));
            }
            QVERIFY2(named == 1,
                     qPrintable(QStringLiteral("test %1, value %2").arg(q.test).arg(place.first())));
        }
    }
}

// Each kind's handout: every symbol's name in the order of the standards (the code table of the
// symbol font, the ISOM numbers of the map symbols, the table of whole lines), each description
// symbol with the number a coach writes, over several pages in the running language, drawn without a
// single bitmap and its pictograms in the symbol font.
void TestPrintouts::handoutsNameEverySymbolInOrder()
{
    QFile codesFile(Source + QStringLiteral("/data/symbols/codes.tsv"));
    QVERIFY(codesFile.open(QIODevice::ReadOnly));
    QStringList descriptions;
    for (const QByteArray& line : codesFile.readAll().split('\n').mid(1)) {
        const QList<QByteArray> cells = line.split('\t');
        if (cells.size() < 7)
            continue;
        QString written = QString::fromLatin1(cells[1]);
        if (!cells[2].isEmpty())
            written += QLatin1Char(':') + QString::fromLatin1(cells[2]);
        // the notation of column F's values is checked by the sheet; its numbers stand here
        descriptions << (cells[3] == "sheet" || cells[1].startsWith("9.") ? QString() : written)
                     << QString::fromLatin1(cells[6]);
    }
    for (const auto& [number, name] : numberedSource(QStringLiteral("data/text/eng/Bitm1.eng"))) {
        if (number < 1000)
            descriptions << QString::number(number) << name;
    }
    QStringList map;
    for (const auto& [number, name] : numberedSource(QStringLiteral("data/text/deu/Symbols.deu")))
        map << name;
    QStringList lines;
    for (const auto& [number, name] : numberedSource(QStringLiteral("data/text/eng/Bitm1.eng"))) {
        if (number >= 1000)
            lines << QString::number(number) << name;
    }
    QVERIFY(descriptions.size() > 300 && map.size() > 100 && lines.size() > 200);

    const struct
    {
        const char* kind;
        const char* lang;
        const char* title;
        QStringList expected;
        bool glyphs;
    } handouts[] = {{"descriptions", "C", "Control description symbols", descriptions, true},
                    {"map", "de_DE.UTF-8", "Kartensymbole", map, false},
                    {"lines", "en_GB.UTF-8", "Whole description lines", lines, true}};
    for (const auto& h : handouts) {
        const QString name = QStringLiteral("handout-%1.pdf").arg(QLatin1String(h.kind));
        QCOMPARE(run({QStringLiteral("--print-handout"), QString::fromLatin1(h.kind), QStringLiteral("--pdf"),
                      name},
                     nullptr, QString::fromLatin1(h.lang)),
                 0);
        const QString pdf = caller(name);
        const int count = pages(pdf);
        QVERIFY2(count >= 3, qPrintable(QString::number(count)));
        QString text;
        for (int page = 1; page <= count; ++page) {
            const QString pageOfText = pageText(pdf, page, true);
            QVERIFY2(pageOfText.startsWith(QString::fromUtf8(h.title)), qPrintable(pageOfText.left(80)));
            QVERIFY(pageOfText.contains(QStringLiteral("Page %1 of %2").arg(page).arg(count)) ||
                    pageOfText.contains(QStringLiteral("Seite %1 von %2").arg(page).arg(count)));
            text += squeezed(pageOfText);
        }
        qsizetype at = 0;
        for (const QString& expected : h.expected) {
            if (expected.isEmpty())
                continue;
            const qsizetype found = text.indexOf(squeezed(expected), at);
            QVERIFY2(
                found >= 0,
                qPrintable(
                    QStringLiteral("%1: %2 missing or out of order").arg(QLatin1String(h.kind), expected)));
            at = found + squeezed(expected).size();
        }
        // drawings, not bitmaps: the list of images holds its two heading lines alone
        QCOMPARE(poppler(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                     .trimmed()
                     .count(QLatin1Char('\n')),
                 1);
        QCOMPARE(poppler(QStringLiteral("pdffonts"), {pdf}).contains(QLatin1String("PictorMarks")), h.glyphs);
    }
}

// A coach's sheet file, named relative to the caller's folder: its heading and control codes in the
// text, on Letter or A4 paper (the default of a locale without US measures).
void TestPrintouts::sheetFromAFileOnEitherPaper()
{
    QFile sheet(caller(QStringLiteral("course.txt")));
    QVERIFY(sheet.open(QIODevice::WriteOnly));
    sheet.write("# Saturday's course\n"
                "title Club training\ncourse Course B\nlength 3.8 km\nclimb 110 m\n"
                "start 5.2\n131 0.1:N 2.4 9.1:1 12.1:E\n132 1.10 12.12:S\ninstruction 992\n"
                "133 2.4 2.4 9.4:2/3 12.14\nfinish 997\n");
    sheet.close();
    for (const char* paper : {"letter", ""}) {
        QStringList arguments{QStringLiteral("--print-sheet"), QStringLiteral("course.txt"),
                              QStringLiteral("--pdf"), QStringLiteral("sheet.pdf")};
        if (*paper)
            arguments << QStringLiteral("--paper") << QString::fromLatin1(paper);
        QString output;
        QCOMPARE(run(arguments, &output), 0);
        const QString info = poppler(QStringLiteral("pdfinfo"), {caller(QStringLiteral("sheet.pdf"))});
        QVERIFY2(info.contains(*paper ? QLatin1String("612 x 792 pts (letter)") : QLatin1String("pts (A4)")),
                 qPrintable(info));
        const QString text = pageText(caller(QStringLiteral("sheet.pdf")), 1, true);
        for (const char* expected :
             {"Club training", "Course B", "3.8 km", "110 m", "1 131", "2 132", "3 133"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
    }
}

// A course setter's event file: its courses listed in order with their controls, length and climb
// (German too); the sheet of one course, of every course on pages of their own; a course the file
// lacks, a broken file and options that do not go together refused, nothing written.
void TestPrintouts::coursesOfAnEventFileListedAndPrinted()
{
    const QString events = Source + QStringLiteral("/tests/data/events/");
    QVERIFY(QFile::copy(events + QStringLiteral("club-training.ppen"), caller(QStringLiteral("club.ppen"))));
    QVERIFY(QFile::copy(events + QStringLiteral("broken/loop.ppen"), caller(QStringLiteral("loop.ppen"))));
    QString output;
    QCOMPARE(run({QStringLiteral("--list-courses"), QStringLiteral("club.ppen")}, &output), 0);
    QCOMPARE(output, QStringLiteral(
                         "Short: 3 controls, 2.5 km, climb 45 m\nLong: 5 controls, 5.9 km, climb 120 m\n"));
    QCOMPARE(run({QStringLiteral("--list-courses"), QStringLiteral("club.ppen")}, &output,
                 QStringLiteral("de_DE.UTF-8")),
             0);
    QVERIFY2(output.startsWith(QLatin1String("Short: 3 Posten, 2.5 km, Steigung 45 m\n")),
             qPrintable(output));

    QCOMPARE(run({QStringLiteral("--print-sheet"), QStringLiteral("club.ppen"), QStringLiteral("--course"),
                  QStringLiteral("long"), QStringLiteral("--pdf"), QStringLiteral("long.pdf")},
                 &output),
             0);
    const QString text = pageText(caller(QStringLiteral("long.pdf")), 1, true);
    for (const char* expected : {"Club training, Saturday", "Long", "5.9 km", "120 m", "1 31", "2 35", "3 34",
                                 "Gate in the fence", "4 136", "5 33"})
        QVERIFY2(text.contains(QLatin1String(expected)), expected);
    QVERIFY(!text.contains(QLatin1String("Short")));
    QCOMPARE(run({QStringLiteral("--print-sheet"), QStringLiteral("club.ppen"),
                  QStringLiteral("--all-courses"), QStringLiteral("--pdf"), QStringLiteral("all.pdf")},
                 &output),
             0);
    QCOMPARE(pages(caller(QStringLiteral("all.pdf"))), 2);
    QVERIFY(pageText(caller(QStringLiteral("all.pdf")), 1, true).contains(QLatin1String("2.5 km")));
    QVERIFY(pageText(caller(QStringLiteral("all.pdf")), 2, true).contains(QLatin1String("5.9 km")));

    QCOMPARE(run({QStringLiteral("--print-sheet"), QStringLiteral("club.ppen"), QStringLiteral("--course"),
                  QStringLiteral("Medium"), QStringLiteral("--pdf"), QStringLiteral("medium.pdf")},
                 &output),
             1);
    QVERIFY2(output.contains(QLatin1String("Medium")) && output.contains(caller(QStringLiteral("club.ppen"))),
             qPrintable(output));
    QCOMPARE(run({QStringLiteral("--list-courses"), QStringLiteral("loop.ppen")}, &output), 1);
    QVERIFY2(output.contains(caller(QStringLiteral("loop.ppen"))) &&
                 output.contains(QLatin1String("Orange")) && output.contains(QLatin1String("31")),
             qPrintable(output));
    // an event file needs its course; a course goes with an event file only
    QCOMPARE(run({QStringLiteral("--print-sheet"), QStringLiteral("club.ppen"), QStringLiteral("--pdf"),
                  QStringLiteral("x.pdf")},
                 &output),
             2);
    QCOMPARE(run({QStringLiteral("--print-test"), QStringLiteral("101"), QStringLiteral("--course"),
                  QStringLiteral("Long"), QStringLiteral("--pdf"), QStringLiteral("x.pdf")},
                 &output),
             2);
    QCOMPARE(QDir(m_caller->path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("all.pdf"), QStringLiteral("club.ppen"), QStringLiteral("long.pdf"),
                          QStringLiteral("loop.ppen")}));
}

// A bad sheet, a test no catalogue has, a folder that is not there: a failure status and a message
// that names the file (and the line); the PDF that was there stays as it was, none appears where
// it could not be written whole. --help lists the options.
void TestPrintouts::failuresNameTheFileAndKeepWhatWasThere()
{
    QString output;
    QCOMPARE(run({QStringLiteral("--help")}, &output), 0);
    for (const char* option : {"--print-test", "--print-handout", "--print-sheet", "--pdf", "--paper"})
        QVERIFY2(output.contains(QLatin1String(option)), option);

    QFile kept(caller(QStringLiteral("kept.pdf")));
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("the coach's own file");
    kept.close();
    QFile bad(caller(QStringLiteral("bad.txt")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("title Bad\n31 2.4\n32 2.4 12.1:Q\n");
    bad.close();
    QCOMPARE(run({QStringLiteral("--print-sheet"), QStringLiteral("bad.txt"), QStringLiteral("--pdf"),
                  QStringLiteral("kept.pdf")},
                 &output),
             1);
    QVERIFY2(output.contains(caller(QStringLiteral("bad.txt")) + QStringLiteral(", line 3")),
             qPrintable(output));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("the coach's own file"));
    kept.close();

    QCOMPARE(run({QStringLiteral("--print-test"), QStringLiteral("9999"), QStringLiteral("--pdf"),
                  QStringLiteral("kept.pdf")},
                 &output),
             1);
    QVERIFY2(output.contains(QLatin1String("9999")), qPrintable(output));

    QCOMPARE(run({QStringLiteral("--print-handout"), QStringLiteral("map"), QStringLiteral("--pdf"),
                  QStringLiteral("missing/map.pdf")},
                 &output),
             1);
    QVERIFY2(output.contains(caller(QStringLiteral("missing/map.pdf"))), qPrintable(output));
    QCOMPARE(QDir(m_caller->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("bad.txt"), QStringLiteral("kept.pdf")}));

    // options that do not go together are refused before anything is read
    QCOMPARE(run({QStringLiteral("--print-test"), QStringLiteral("101")}, &output), 2);
    QCOMPARE(run({QStringLiteral("--print-handout"), QStringLiteral("maps"), QStringLiteral("--pdf"),
                  QStringLiteral("x.pdf")},
                 &output),
             2);
    QCOMPARE(run({QStringLiteral("--print-test"), QStringLiteral("101"), QStringLiteral("--pdf"),
                  QStringLiteral("x.pdf"), QStringLiteral("--paper"), QStringLiteral("a5")},
                 &output),
             2);
}

QTEST_GUILESS_MAIN(TestPrintouts)
#include "tst_printouts.moc"
