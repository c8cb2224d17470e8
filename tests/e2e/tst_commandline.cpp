// SPDX-License-Identifier: GPL-3.0-or-later
// The command line as a hostile caller meets it: a damaged language module or content file, special
// files as outputs and inputs, hostile sheet lines and names, stray arguments. Run on a copy of the
// built program folder without any display: no run may hang or end on a signal, every refusal names
// its file and its cause, and nothing that is not a regular file is ever replaced.
#include "common/SpecialFiles.h"
#include "common/TempWorkDir.h"
#include "content/Checksum.h"
#include "platform/AppError.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

// A run's exit status, or one of these.
constexpr int Crashed = -1;
constexpr int Hung = -2;
// A run that takes longer than this has hung.
constexpr int RunTimeoutMs = 60000;

struct Run
{
    int status = Crashed;
    QString output; // standard output, then standard error
    QString standardError;
};

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString text(const char* message)
{
    return QString::fromLatin1(message);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void damagedLanguageModuleIsNamed();
    void contentChecksumsAreChecked();
    void outputsNeverReplaceSpecialFiles();
    void specialInputsAndStrayArgumentsNeverHang();
    void sheetsWithAnyLineEndsAndHostileText();
    void messagesNameTheCause();
    void versionUsageErrorsAndNoDisplayAsGnuProgramsGiveThem();

private:
    // Runs the copied program from the caller's folder in language `lang`, with no display at all
    // (or the offscreen platform where a window would open).
    Run run(const QStringList& arguments, const QString& lang = QStringLiteral("C"), bool offscreen = false);
    QString caller(const QString& name) const { return QDir(m_caller->path()).filePath(name); }
    bool writeCaller(const QString& name, const QByteArray& bytes) const
    {
        QFile file(caller(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    std::unique_ptr<TempWorkDir> m_program;
    std::unique_ptr<QTemporaryDir> m_caller;
};

void TestCommandLine::init()
{
    m_program = std::make_unique<TempWorkDir>();
    m_caller = std::make_unique<QTemporaryDir>();
    QVERIFY(m_program->copyProgramFolder(true));
}

void TestCommandLine::cleanup()
{
    m_program.reset();
    m_caller.reset();
}

Run TestCommandLine::run(const QStringList& arguments, const QString& lang, bool offscreen)
{
    QProcess quill;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LANG"), lang);
    if (offscreen)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    quill.setProcessEnvironment(env);
    quill.setWorkingDirectory(m_caller->path());
    quill.start(m_program->filePath(QStringLiteral("quill")), arguments);
    Run result;
    if (!quill.waitForFinished(RunTimeoutMs)) {
        quill.kill();
        quill.waitForFinished();
        result.status = Hung;
    } else if (quill.exitStatus() == QProcess::NormalExit) {
        result.status = quill.exitCode();
    }
    result.standardError = QString::fromUtf8(quill.readAllStandardError());
    result.output = QString::fromUtf8(quill.readAllStandardOutput()) + result.standardError;
    return result;
}

// A language module cut short: every run names it on standard error and fails, none aborts, and
// nothing is written in another language than the one asked for.
void TestCommandLine::damagedLanguageModuleIsNamed()
{
    const QString module = m_program->filePath(QStringLiteral("quill.deu"));
    const QByteArray whole = contentOf(module);
    QVERIFY(whole.startsWith("qres"));
    QVERIFY(m_program->write(QStringLiteral("quill.deu"), whole.left(whole.size() / 2)));
    const QStringList runs[] = {{QStringLiteral("--export-results"), QStringLiteral("results.csv")},
                                {QStringLiteral("--export-statistics"), QStringLiteral("statistics.csv")},
                                {QStringLiteral("--print-handout"), QStringLiteral("map"),
                                 QStringLiteral("--pdf"), QStringLiteral("map.pdf")}};
    for (const QStringList& arguments : runs) {
        const Run r = run(arguments, QStringLiteral("de_DE.UTF-8"));
        QVERIFY2(r.status == 1, qPrintable(QString::number(r.status) + QLatin1Char(' ') + r.output));
        QVERIFY2(r.output.contains(module), qPrintable(r.output));
    }
    QCOMPARE(QDir(m_caller->path()).entryList(QDir::Files), QStringList());
}

// Names swapped in the description symbols' texts, their checksum line left as it was: what reads
// them is refused as the window refuses to start, naming the file; what does not read them works.
void TestCommandLine::contentChecksumsAreChecked()
{
    const QString legends = m_program->filePath(QStringLiteral("Legends.eng"));
    QList<QByteArray> lines = contentOf(legends).split('\n');
    QVERIFY(lines.size() > 10);
    const QByteArray second = lines[2].mid(lines[2].indexOf(' '));
    lines[2] = lines[2].left(lines[2].indexOf(' ')) + lines[3].mid(lines[3].indexOf(' '));
    lines[3] = lines[3].left(lines[3].indexOf(' ')) + second;
    QVERIFY(m_program->write(QStringLiteral("Legends.eng"), lines.join('\n')));
    QVERIFY(!CheckFileChecksum(QStringLiteral("Legends.eng"), ContentChecksumDivisor).matches());

    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--print-handout"), QStringLiteral("descriptions"),
                      QStringLiteral("--pdf"), QStringLiteral("handout.pdf")},
          QStringList{QStringLiteral("--export-statistics"), QStringLiteral("statistics.csv")}}) {
        const Run r = run(arguments);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.output.contains(QLatin1String("Wrong checksum")) && r.output.contains(legends),
                 qPrintable(r.output));
    }
    QCOMPARE(QDir(m_caller->path()).entryList(QDir::Files), QStringList());
    QCOMPARE(run({QStringLiteral("--export-results"), QStringLiteral("results.csv")}).status, 0);
}

// Every output option aimed at a pipe, a socket, a folder, a link to a pipe or a link to nothing is
// refused with what the name is, and leaves it as it was; a link to a regular file is written
// through, the link kept.
void TestCommandLine::outputsNeverReplaceSpecialFiles()
{
    QVERIFY(makeFifo(caller(QStringLiteral("pipe.out"))));
    QVERIFY(makeSocket(caller(QStringLiteral("socket.out"))));
    QVERIFY(QDir(m_caller->path()).mkdir(QStringLiteral("folder.out")));
    QVERIFY(QFile::link(caller(QStringLiteral("pipe.out")), caller(QStringLiteral("link-to-pipe.out"))));
    QVERIFY(QFile::link(caller(QStringLiteral("absent.out")), caller(QStringLiteral("dangling.out"))));
    QVERIFY(QFile::link(caller(QStringLiteral("target.out")), caller(QStringLiteral("link.out"))));
    QVERIFY(writeCaller(QStringLiteral("sheet.txt"), "title T\n31 2.4\n"));

    const struct
    {
        const char* name;
        const char* message;
    } refused[] = {{"pipe.out", Msg::NotAFile},
                   {"socket.out", Msg::NotAFile},
                   {"link-to-pipe.out", Msg::NotAFile},
                   {"folder.out", Msg::IsAFolder},
                   {"dangling.out", Msg::LinkToNothing}};
    const QStringList options[] = {
        {QStringLiteral("--export-results")},
        {QStringLiteral("--export-statistics")},
        {QStringLiteral("--print-sheet"), QStringLiteral("sheet.txt"), QStringLiteral("--pdf")}};
    for (const QStringList& option : options) {
        for (const auto& r : refused) {
            const QString target = caller(QString::fromLatin1(r.name));
            const mode_t before = typeOf(target);
            const Run result = run(option + QStringList{QString::fromLatin1(r.name)});
            QVERIFY2(result.status == 1, qPrintable(option.first() + QLatin1Char(' ') + result.output));
            QVERIFY2(result.output.contains(text(r.message)) && result.output.contains(target),
                     qPrintable(result.output));
            QCOMPARE(typeOf(target), before);
        }
        QVERIFY(writeCaller(QStringLiteral("target.out"), "the coach's own file"));
        const Run written = run(option + QStringList{QStringLiteral("link.out")});
        QVERIFY2(written.status == 0, qPrintable(written.output));
        QCOMPARE(typeOf(caller(QStringLiteral("link.out"))), mode_t(S_IFLNK));
        QVERIFY(contentOf(caller(QStringLiteral("target.out"))) != "the coach's own file");
    }
    QVERIFY(!QFile::exists(caller(QStringLiteral("absent.out"))));
}

// A results file or a sheet file that is a pipe is refused at once, naming it; arguments that are
// no options are a usage error instead of opening the window.
void TestCommandLine::specialInputsAndStrayArgumentsNeverHang()
{
    const QString results = m_program->filePath(QStringLiteral("Results.dat"));
    QVERIFY(makeFifo(results));
    Run r = run({QStringLiteral("--export-results"), QStringLiteral("results.csv")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.output.contains(text(Msg::NotAFile)) && r.output.contains(results), qPrintable(r.output));
    QCOMPARE(typeOf(results), mode_t(S_IFIFO));
    const QString store = m_program->filePath(QStringLiteral("Statistics.sqlite"));
    QVERIFY(makeFifo(store));
    r = run({QStringLiteral("--export-statistics"), QStringLiteral("statistics.csv")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.output.contains(text(Msg::NotAFile)) && r.output.contains(store), qPrintable(r.output));

    QVERIFY(makeFifo(caller(QStringLiteral("pipe.txt"))));
    QVERIFY(QDir(m_caller->path()).mkdir(QStringLiteral("folder.txt")));
    for (const char* sheet : {"pipe.txt", "folder.txt"}) {
        r = run({QStringLiteral("--print-sheet"), QString::fromLatin1(sheet), QStringLiteral("--pdf"),
                 QStringLiteral("sheet.pdf")});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.output.contains(caller(QString::fromLatin1(sheet))), qPrintable(r.output));
    }
    QVERIFY(r.output.contains(text(Msg::IsAFolder)));
    QVERIFY(!QFile::exists(caller(QStringLiteral("sheet.pdf"))));

    for (const QStringList& arguments :
         {QStringList{QStringLiteral("foo")}, QStringList{QStringLiteral("-x")},
          QStringList{QStringLiteral("-style"), QStringLiteral("Fusion"), QStringLiteral("foo")}}) {
        r = run(arguments, QStringLiteral("C"), true);
        QVERIFY2(r.status == 2, qPrintable(QString::number(r.status) + QLatin1Char(' ') + r.output));
        QVERIFY2(r.output.contains(arguments.last()), qPrintable(r.output));
    }
}

// A sheet with CR line ends alone prints; a sheet line or a file name holding escape sequences never
// reaches the terminal raw: its control characters are shown escaped.
void TestCommandLine::sheetsWithAnyLineEndsAndHostileText()
{
    QVERIFY(writeCaller(QStringLiteral("mac.txt"), "title Saturday\r31 2.4\r32 1.10 12.12:S\rfinish\r"));
    Run r = run({QStringLiteral("--print-sheet"), QStringLiteral("mac.txt"), QStringLiteral("--pdf"),
                 QStringLiteral("mac.pdf")});
    QVERIFY2(r.status == 0, qPrintable(r.output));

    QVERIFY(writeCaller(QStringLiteral("hostile.txt"), "title T\n\x1b]0;owned\x07 2.4\n\x1b[2J 2.4\n"));
    r = run({QStringLiteral("--print-sheet"), QStringLiteral("hostile.txt"), QStringLiteral("--pdf"),
             QStringLiteral("hostile.pdf")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.output.contains(QLatin1String("\\x1b]0;owned\\x07")), qPrintable(r.output));
    const QString named = QStringLiteral("\x1b[2J\x1b]0;owned\x07.csv");
    r = run({QStringLiteral("--export-results"), named});
    QCOMPARE(r.status, 0);
    r.output += run({QStringLiteral("--export-results"), QStringLiteral("\x1b[2J/x.csv")}).output;
    r.output += run({QStringLiteral("\x1b[2J")}, QStringLiteral("C"), true).output;
    for (const QChar c : std::as_const(r.output))
        QVERIFY2(c == QLatin1Char('\n') || c.unicode() >= 0x20, qPrintable(r.output));
}

// Each refusal says what is wrong, not an input/output error number or "File not found".
void TestCommandLine::messagesNameTheCause()
{
    const struct
    {
        QString output;
        const char* message;
    } outputs[] = {{QString(300, QLatin1Char('n')) + QStringLiteral(".csv"), Msg::NameTooLong},
                   {QStringLiteral("missing/results.csv"), Msg::FolderNotFound}};
    for (const auto& o : outputs) {
        const Run r = run({QStringLiteral("--export-results"), o.output});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.output.contains(text(o.message)), qPrintable(r.output));
    }

    // a catalogue without a test is named, not taken for a catalogue without the test asked for
    const QString catalogue = m_program->filePath(QStringLiteral("TypesLeg.eng"));
    QVERIFY(m_program->write(QStringLiteral("TypesLeg.eng"), QByteArray()));
    Run r = run({QStringLiteral("--print-test"), QStringLiteral("101"), QStringLiteral("--pdf"),
                 QStringLiteral("test.pdf")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.output.contains(text(Msg::NothingInFile)) && r.output.contains(catalogue),
             qPrintable(r.output));

    // a damaged statistics file: its cause and its name, without the window's "until the next start"
    const QString store = m_program->filePath(QStringLiteral("Statistics.sqlite"));
    QVERIFY(m_program->write(QStringLiteral("Statistics.sqlite"), QByteArray(4096, 'x')));
    r = run({QStringLiteral("--export-statistics"), QStringLiteral("statistics.csv")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.output.contains(store) && !r.output.contains(QLatin1String("next start")),
             qPrintable(r.output));
}

// --version on standard output; a usage error is one line and the way to the options on standard
// error with the status 2; without a display the window is refused with a message, not an abort.
void TestCommandLine::versionUsageErrorsAndNoDisplayAsGnuProgramsGiveThem()
{
    Run r = run({QStringLiteral("--version")});
    QVERIFY2(r.status == 0 && r.standardError.isEmpty(), qPrintable(r.output));
    QVERIFY2(r.output.startsWith(QLatin1String("quill (Quillon 2 For Orienteering) ")) &&
                 r.output.contains(QLatin1String("GPL version 3 or later")),
             qPrintable(r.output));

    const QStringList usageErrors[] = {{QStringLiteral("--bogus")},
                                       {QStringLiteral("--pdf"), QStringLiteral("x.pdf")},
                                       {QStringLiteral("--print-test")},
                                       {QStringLiteral("-v")},
                                       {QStringLiteral("foo")}};
    for (const QStringList& arguments : usageErrors) {
        r = run(arguments, QStringLiteral("C"), true);
        QVERIFY2(r.status == 2 && r.output == r.standardError, qPrintable(arguments.join(QLatin1Char(' '))));
        // (the window system's own warnings aside)
        QStringList lines = r.standardError.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        lines.removeIf(
            [](const QString& line) { return line.startsWith(QLatin1String("QStandardPaths: ")); });
        QVERIFY2(lines.size() == 2 && lines[0].startsWith(QLatin1String("quill: ")), qPrintable(r.output));
        QCOMPARE(lines[1], QStringLiteral("Try 'quill --help'."));
    }

    r = run({});
    QVERIFY2(r.status == 1, qPrintable(QString::number(r.status) + QLatin1Char(' ') + r.output));
    QVERIFY2(r.standardError.contains(QLatin1String("no display")), qPrintable(r.output));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
