// SPDX-License-Identifier: GPL-3.0-or-later
// The exports for a coach, run as a coach would: the built program in a copy of its folder, started
// from another folder with relative file names and without any display, its CSV files read back by
// Python's csv module and openpyxl (independent readers) and compared with the known history.
#include "common/TempWorkDir.h"
#include "content/Catalogue.h"
#include "content/Language.h"
#include "platform/Clock.h"
#include "results/AnswerStore.h"
#include "results/ResultsFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

constexpr double Second = 1.0 / 86400.0;
constexpr char ReadCsv[] = "import csv, json, sys\n"
                           "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                           "    print(json.dumps(list(csv.reader(f))))\n";

// The cells of a spreadsheet's active sheet as openpyxl reads them: per row, per cell its value
// (a duration in milliseconds, a date in ISO 8601), its type ('s' text, 'n' number, 'd' date,
// 'f' formula), its number format and whether it is bold; then the frozen cell.
constexpr char ReadXlsx[] =
    "import datetime, json, sys, openpyxl\n"
    "sheet = openpyxl.load_workbook(sys.argv[1]).active\n"
    "def value(v):\n"
    "    if isinstance(v, datetime.timedelta): return round(v.total_seconds() * 1000)\n"
    "    if isinstance(v, datetime.time):\n"
    "        return round((v.hour * 3600 + v.minute * 60 + v.second) * 1000 + v.microsecond / 1000)\n"
    "    if isinstance(v, datetime.datetime):\n"
    "        return (v + datetime.timedelta(milliseconds=500)).replace(microsecond=0).isoformat()\n"
    "    return v\n"
    "rows = [[[value(c.value), c.data_type, c.number_format, bool(c.font.b)] for c in r]\n"
    "        for r in sheet.iter_rows()]\n"
    "print(json.dumps({'rows': rows, 'frozen': sheet.freeze_panes}))\n";

QJsonObject readXlsx(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(ReadXlsx), path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {{QStringLiteral("error"), QString::fromUtf8(python.readAllStandardError())}};
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// The rows of a CSV file as Python's csv module reads them.
QList<QStringList> readCsv(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(ReadCsv), path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {{QStringLiteral("python3 failed: ") + QString::fromUtf8(python.readAllStandardError())}};
    QList<QStringList> rows;
    const QJsonArray array = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    for (const QJsonValue& row : array) {
        QStringList fields;
        for (const QJsonValue& f : row.toArray())
            fields << f.toString();
        rows << fields;
    }
    return rows;
}

QString text(const char* s)
{
    return QString::fromUtf8(s);
}
QString text(const QString& s)
{
    return s;
}
template <typename... Fields> QStringList row(const Fields&... fields)
{
    return {text(fields)...};
}

// The UTC time of a clock value as the export writes it.
QString utc(double days)
{
    return QDateTime::fromMSecsSinceEpoch(utcMsFromDays(days), QTimeZone::utc()).toString(Qt::ISODate);
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void exportsOfAKnownHistory();
    void failureNamesTheFileAndHelpListsTheOptions();
    void commandLineFollowsTheLanguage();
    void hostileNamesReadBackAsTyped();

private:
    // Runs the copied program from the caller's folder with `arguments`, with no display at all,
    // in the system language `lang` (empty: the test's own).
    int run(const QStringList& arguments, QString* output = nullptr, const QString& lang = {});

    std::unique_ptr<TempWorkDir> m_program;
    QTemporaryDir m_caller;
};

void TestExport::initTestCase()
{
    Language::activateBuiltIn();
}

void TestExport::init()
{
    m_program = std::make_unique<TempWorkDir>();
    QVERIFY(m_program->copyProgramFolder(true));
}

void TestExport::cleanup()
{
    m_program.reset();
}

int TestExport::run(const QStringList& arguments, QString* output, const QString& lang)
{
    QProcess quill;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (!lang.isEmpty()) {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LC_NUMERIC", "LC_TIME", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), lang);
    }
    quill.setProcessEnvironment(env);
    quill.setWorkingDirectory(m_caller.path());
    quill.setProcessChannelMode(QProcess::MergedChannels);
    quill.start(m_program->filePath(QStringLiteral("quill")), arguments);
    if (!quill.waitForFinished(60000))
        return -1;
    if (output)
        *output = QString::fromUtf8(quill.readAll());
    return quill.exitStatus() == QProcess::NormalExit ? quill.exitCode() : -1;
}

void TestExport::exportsOfAKnownHistory()
{
    const double day = 45400.375;
    {
        AnswerStore store(m_program->path());
        store.open();
        store.beginRound(3, SymbolKind::Description, 101, day);
        store.record(44, 44, true, 1200, day + 2 * Second);
        store.record(45, 50, false, 3000, day + 5 * Second);
        store.record(45, 45, true, 1000, day + 6 * Second);
        store.endRound(true, 6000, day + 6 * Second);
        store.beginRound(5, SymbolKind::Line, 201, day + 1);
        store.record(1000, 1000, true, 2500, day + 1 + 3 * Second);
        store.endRound(true, 3000, day + 1 + 3 * Second);
    }
    TResultRecord result;
    result.PlayerName = QStringLiteral("Ana, \"the fox\"");
    result.TestName = QStringLiteral(" Landforms");
    result.TestNumber = 101;
    result.Time = 83.25 * Second;
    result.Errors = 2;
    AppendResult(result);
    result.PlayerName = QStringLiteral("Ben");
    result.TestName = QStringLiteral(" My weak symbols");
    result.TestNumber = 9901;
    result.Time = 30 * Second;
    result.Errors = 0;
    AppendResult(result);
    // the file ends in a record cut short: the whole ones are exported, the cut one is named
    const QString results = m_program->filePath(QLatin1String(ResultsFileBareName));
    {
        QFile file(results);
        QVERIFY(file.open(QIODevice::Append));
        QCOMPARE(file.write(result.encode().left(30)), 30);
    }

    QString output;
    QCOMPARE(run({QStringLiteral("--export-statistics"), QStringLiteral("stats.csv"),
                  QStringLiteral("--export-results"), QStringLiteral("results.csv")},
                 &output),
             0);
    QCOMPARE(readCsv(QDir(m_caller.path()).filePath(QStringLiteral("stats.csv"))),
             (QList<QStringList>{
                 row("kind", "iof", "name", "attempts", "correct", "mean_ms", "last_seen"),
                 row("description", "1.1", "Terrace", "1", "1", "1200", utc(day + 2 * Second)),
                 row("description", "1.2", "Spur", "2", "1", "2000", utc(day + 6 * Second)),
                 row("line", "1000", "Northern boulder, 1 m high, east side", "1", "1", "2500",
                     utc(day + 1 + 3 * Second)),
             }));
    QCOMPARE(readCsv(QDir(m_caller.path()).filePath(QStringLiteral("results.csv"))),
             (QList<QStringList>{
                 row("name", "test_number", "test_name", "time_ms", "errors"),
                 row("Ana, \"the fox\"", "101", "Landforms", "83250", "2"),
                 row("Ben", "9901", "My weak symbols", "30000", "0"),
             }));
    QVERIFY2(output.contains(QStringLiteral("The file ends in a cut record (30 bytes), which is left out")) &&
                 output.contains(results),
             qPrintable(output));
    QCOMPARE(QFileInfo(results).size(), 2 * TResultRecord::RecordSize + 30);
}

void TestExport::failureNamesTheFileAndHelpListsTheOptions()
{
    QString output;
    QCOMPARE(run({QStringLiteral("--help")}, &output), 0);
    QVERIFY2(output.contains(QLatin1String("--export-statistics")) &&
                 output.contains(QLatin1String("--export-results")),
             qPrintable(output));

    // no store yet: the header row alone, and no store made by the export
    QCOMPARE(run({QStringLiteral("--export-statistics"), QStringLiteral("empty.csv")}, &output), 0);
    QVERIFY2(output.startsWith(QLatin1String("0 symbols written to ")), qPrintable(output));
    QCOMPARE(readCsv(QDir(m_caller.path()).filePath(QStringLiteral("empty.csv"))),
             (QList<QStringList>{row("kind", "iof", "name", "attempts", "correct", "mean_ms", "last_seen")}));
    QVERIFY(!QFile::exists(m_program->filePath(AnswerStore::fileName())));

    // one result: the count in the singular
    TResultRecord one;
    one.PlayerName = QStringLiteral("Ana");
    one.TestNumber = 101;
    AppendResult(one);
    QCOMPARE(run({QStringLiteral("--export-results"), QStringLiteral("one.xlsx")}, &output), 0);
    QVERIFY2(output.startsWith(QLatin1String("1 result written to ")), qPrintable(output));

    // a folder that does not exist: a message naming the file, a failure status
    const QString target = QDir(m_caller.path()).filePath(QStringLiteral("missing/results.csv"));
    QVERIFY(run({QStringLiteral("--export-results"), QStringLiteral("missing/results.csv")}, &output) > 0);
    QVERIFY2(output.contains(target), qPrintable(output));
    // a damaged store: named, and a failure status
    QVERIFY(m_program->write(AnswerStore::fileName(), QByteArray(4096, 'x')));
    QVERIFY(run({QStringLiteral("--export-statistics"), QStringLiteral("s.csv")}, &output) > 0);
    QVERIFY2(output.contains(m_program->filePath(AnswerStore::fileName())), qPrintable(output));
    QVERIFY(run({QStringLiteral("--no-such-option")}, &output) > 0);
}

// Under a German system the command line speaks German, as the window would, and the results
// export names the tests as the German catalogues do, whatever language they were played in.
void TestExport::commandLineFollowsTheLanguage()
{
    TResultRecord result;
    result.PlayerName = QStringLiteral("Dvořák");
    result.TestName = QStringLiteral(" Landforms");
    result.TestNumber = 101;
    result.Time = 83.25 * Second;
    AppendResult(result);
    result.TestName = QStringLiteral(" My weak symbols");
    result.TestNumber = 9901;
    AppendResult(result);
    const QString german = QStringLiteral("de_DE.UTF-8");

    QVERIFY(Language::activateModuleFile(m_program->filePath(QStringLiteral("quill.deu"))));
    const QString testName =
        ReadCatalogueEntries(m_program->filePath(QStringLiteral("TypesLeg.deu"))).value(0).TestName.trimmed();
    const QString drillName = LoadString(StringId::WeakSymbolsTest);
    const QString written = LoadString(StringId::ResultsWritten);
    const QString helpLine = LoadString(StringId::HelpOption);
    Language::activateBuiltIn();
    QVERIFY(testName != QStringLiteral("Landforms") && drillName != QStringLiteral("My weak symbols"));

    QString output;
    QCOMPARE(run({QStringLiteral("--export-results"), QStringLiteral("results.csv")}, &output, german), 0);
    const QString path = QDir(m_caller.path()).filePath(QStringLiteral("results.csv"));
    QCOMPARE(output.trimmed(), written.arg(QStringLiteral("2"), path));
    QCOMPARE(readCsv(path), (QList<QStringList>{
                                row("name", "test_number", "test_name", "time_ms", "errors"),
                                row("Dvořák", "101", testName, "83250", "0"),
                                row("Dvořák", "9901", drillName, "83250", "0"),
                            }));
    QCOMPARE(run({QStringLiteral("--help")}, &output, german), 0);
    QVERIFY2(output.contains(helpLine), qPrintable(output));
    QVERIFY(run({QStringLiteral("--print-test"), QStringLiteral("x"), QStringLiteral("--pdf"),
                 QStringLiteral("q.pdf")},
                &output, german) > 0);
    QVERIFY2(output.contains(QStringLiteral("--print-test braucht")), qPrintable(output));
}

// Names that a spreadsheet would run as formulas, split or garble come back exactly as typed: text
// cells in the spreadsheet, apostrophe-led fields in the CSV (read by its byte-order mark as UTF-8),
// the times the same numbers in both, and no cell a formula.
void TestExport::hostileNamesReadBackAsTyped()
{
    const QStringList names = {QStringLiteral("=2+3 Dvořák;x"), QStringLiteral("+49 Łukasz"),
                               QStringLiteral("-Żaneta"),       QStringLiteral("@Šárka"),
                               QStringLiteral("Ana, \"fox\""),  QStringLiteral("Müller 'Jörg'"),
                               QStringLiteral("=HYPERLINK(x)")};
    const QList<qint64> times = {61234, 83250, 5000, 3599900, 999, 45678, 1000};
    for (int i = 0; i < names.size(); ++i) {
        TResultRecord result;
        result.PlayerName = names[i];
        result.TestName = QStringLiteral(" Landforms");
        result.TestNumber = 101;
        result.Time = double(times[i]) / 86400000.0;
        result.Errors = i;
        AppendResult(result);
    }
    const double day = 45400.375;
    {
        AnswerStore store(m_program->path());
        store.open();
        store.beginRound(7, SymbolKind::MapSymbol, 301, day);
        store.record(1052, 1052, true, 1500, day + Second);
        store.endRound(true, 1500, day + Second);
        store.beginRound(3, SymbolKind::Description, 101, day);
        store.record(46, 46, true, 900, day + 2 * Second);
        store.endRound(true, 900, day + 2 * Second);
    }
    for (const QString& file :
         {QStringLiteral("r.xlsx"), QStringLiteral("r.csv"), QStringLiteral("s.xlsx")}) {
        const QString option = file.startsWith(QLatin1Char('r')) ? QStringLiteral("--export-results")
                                                                 : QStringLiteral("--export-statistics");
        QCOMPARE(run({option, file}), 0);
    }
    const QDir caller(m_caller.path());

    const QJsonObject sheet = readXlsx(caller.filePath(QStringLiteral("r.xlsx")));
    QVERIFY2(!sheet.contains(QLatin1String("error")),
             qPrintable(sheet.value(QLatin1String("error")).toString()));
    QCOMPARE(sheet.value(QLatin1String("frozen")).toString(), QStringLiteral("A2"));
    const QJsonArray rows = sheet.value(QLatin1String("rows")).toArray();
    QCOMPARE(rows.size(), 1 + names.size());
    QStringList header;
    for (const QJsonValue& cell : rows[0].toArray()) {
        header << cell[0].toString();
        QVERIFY(cell[3].toBool());
    }
    QCOMPARE(header,
             QStringList({QStringLiteral("name"), QStringLiteral("test_number"), QStringLiteral("test_name"),
                          QStringLiteral("time"), QStringLiteral("errors")}));
    for (int i = 0; i < names.size(); ++i) {
        const QJsonArray cells = rows[i + 1].toArray();
        for (const QJsonValue& cell : cells)
            QVERIFY(cell[1].toString() != QLatin1String("f"));
        QCOMPARE(cells[0][0].toString(), names[i]);
        QCOMPARE(cells[0][1].toString(), QStringLiteral("s"));
        QCOMPARE(cells[1][0].toInteger(), 101);
        QCOMPARE(cells[2][0].toString(), QStringLiteral("Landforms"));
        QCOMPARE(cells[3][0].toInteger(), times[i]);
        QCOMPARE(cells[3][2].toString(), QStringLiteral("[mm]:ss.0"));
        QCOMPARE(cells[4][0].toInteger(), i);
        QCOMPARE(cells[4][1].toString(), QStringLiteral("n"));
    }

    QFile csvFile(caller.filePath(QStringLiteral("r.csv")));
    QVERIFY(csvFile.open(QIODevice::ReadOnly));
    QVERIFY(csvFile.readAll().startsWith("\xEF\xBB\xBFname,"));
    const QList<QStringList> csv = readCsv(csvFile.fileName());
    QCOMPARE(csv.size(), 1 + names.size());
    for (int i = 0; i < names.size(); ++i) {
        const bool formulaStart = QStringLiteral("=+-@").contains(names[i].front());
        QCOMPARE(csv[i + 1].value(0), formulaStart ? QLatin1Char('\'') + names[i] : names[i]);
        QCOMPARE(csv[i + 1].value(3), QString::number(times[i]));
    }

    const QJsonArray statistics =
        readXlsx(caller.filePath(QStringLiteral("s.xlsx"))).value(QLatin1String("rows")).toArray();
    QCOMPARE(statistics.size(), 3);
    const auto cellText = [&statistics](int row, int column) {
        return statistics[row][column][0].toString();
    };
    QCOMPARE(cellText(0, 0), QStringLiteral("kind"));
    QCOMPARE(cellText(0, 6), QStringLiteral("last_seen"));
    QCOMPARE(QStringList({cellText(1, 0), cellText(1, 1)}),
             QStringList({QStringLiteral("description"), QStringLiteral("1.3")}));
    QCOMPARE(QStringList({cellText(2, 0), cellText(2, 1)}),
             QStringList({QStringLiteral("map"), QStringLiteral("105.2")}));
    QCOMPARE(statistics[1][6][1].toString(), QStringLiteral("d"));
    QCOMPARE(cellText(1, 6), utc(day + 2 * Second).left(19));
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
