// The exports for a coach, run as a coach would: the built program in a copy of its folder, started
// from another folder with relative file names and without any display, its CSV files read back by
// Python's csv module (an independent reader) and compared with the known history.
#include "common/TempWorkDir.h"
#include "content/Catalogue.h"
#include "content/Language.h"
#include "platform/Clock.h"
#include "results/AnswerStore.h"
#include "results/ResultsFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

constexpr double Second = 1.0 / 86400.0;
constexpr char ReadCsv[] = "import csv, json, sys\n"
                           "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                           "    print(json.dumps(list(csv.reader(f))))\n";

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
    QCOMPARE(
        readCsv(QDir(m_caller.path()).filePath(QStringLiteral("stats.csv"))),
        (QList<QStringList>{
            row("value", "name", "attempts", "correct", "mean_ms", "last_seen"),
            row("44", "Terrace", "1", "1", "1200", utc(day + 2 * Second)),
            row("45", "Spur", "2", "1", "2000", utc(day + 6 * Second)),
            row("1000", "Northern boulder, 1 m high, east side", "1", "1", "2500", utc(day + 1 + 3 * Second)),
        }));
    QCOMPARE(readCsv(QDir(m_caller.path()).filePath(QStringLiteral("results.csv"))),
             (QList<QStringList>{
                 row("name", "test_number", "test_name", "time", "errors"),
                 row("Ana, \"the fox\"", "101", "Landforms", "83.250", "2"),
                 row("Ben", "9901", "My weak symbols", "30.000", "0"),
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
    QCOMPARE(run({QStringLiteral("--export-statistics"), QStringLiteral("empty.csv")}), 0);
    QCOMPARE(readCsv(QDir(m_caller.path()).filePath(QStringLiteral("empty.csv"))),
             (QList<QStringList>{row("value", "name", "attempts", "correct", "mean_ms", "last_seen")}));
    QVERIFY(!QFile::exists(m_program->filePath(AnswerStore::fileName())));

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
                                row("name", "test_number", "test_name", "time", "errors"),
                                row("Dvořák", "101", testName, "83.250", "0"),
                                row("Dvořák", "9901", drillName, "83.250", "0"),
                            }));
    QCOMPARE(run({QStringLiteral("--help")}, &output, german), 0);
    QVERIFY2(output.contains(helpLine), qPrintable(output));
    QVERIFY(run({QStringLiteral("--print-test"), QStringLiteral("x"), QStringLiteral("--pdf"),
                 QStringLiteral("q.pdf")},
                &output, german) > 0);
    QVERIFY2(output.contains(QStringLiteral("--print-test braucht")), qPrintable(output));
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
