// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "content/ContentCheck.h"
#include "content/CountedText.h"
#include "content/CourseEvent.h"
#include "content/CourseSheet.h"
#include "content/Language.h"
#include "content/ModuleDamage.h"
#include "game/SymbolNames.h"
#include "game/SymbolNumbers.h"
#include "learning/TestNames.h"
#include "platform/AppError.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "print/PdfFile.h"
#include "print/Printouts.h"
#include "results/AnswerStore.h"
#include "results/CoachExport.h"
#include "results/ResultsFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr char ExportStatistics[] = "export-statistics";
constexpr char ExportResults[] = "export-results";
constexpr char PrintTest[] = "print-test";
constexpr char PrintHandout[] = "print-handout";
constexpr char PrintSheet[] = "print-sheet";
constexpr char ListCourses[] = "list-courses";
constexpr char Course[] = "course";
constexpr char AllCourses[] = "all-courses";
// An event file of a course setter: its name ends so, or its text starts as XML does.
constexpr char EventFileSuffix[] = "ppen";
constexpr qint64 EventFileSniff = 64;
constexpr char Pdf[] = "pdf";
constexpr char Paper[] = "paper";
// The printouts draw text and pictures, which takes the window system's fonts: on a platform that
// shows nothing.
constexpr char PrintPrefix[] = "--print-";
constexpr char NoDisplayPlatform[] = "offscreen";
constexpr char ProgramName[] = "quill";
constexpr char ApplicationTitle[] = "Quillon 2 For Orienteering";

// The kinds a handout can show, as the command line names them.
constexpr struct
{
    const char* name;
    SymbolKind kind;
} HandoutKinds[] = {
    {"descriptions", SymbolKind::Description}, {"map", SymbolKind::MapSymbol}, {"lines", SymbolKind::Line}};

// Options of the command line start with two dashes (or are -h); Qt's own options for the window
// system (-platform, -style ...) have one and leave the trainer's start to the window.
bool asksForCommandLine(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0 || std::strcmp(argv[i], "-h") == 0)
            return true;
    }
    return false;
}

bool asksForPrintout(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], PrintPrefix, std::strlen(PrintPrefix)) == 0)
            return true;
    }
    return false;
}

// A message on one line of standard error; its control characters escaped, as the text may quote a
// file's bytes or a name given on the command line.
void fail(const QString& text)
{
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QTextStream(stderr) << "quill: " << escapeControlCharacters(line) << Qt::endl;
}

void fail(const AppError& error)
{
    const QString location = error.location();
    fail(location.isEmpty() ? error.text() : error.text() + QLatin1String(". ") + location);
}

// What the program says without a window (a damaged language module, ...) goes to standard error
// while a run lasts, and makes it fail; a question is answered with its default.
class StandardErrorMessages
{
public:
    StandardErrorMessages()
    {
        MessageBoxes::setPresenter({[this](MessageBoxes::Kind, const QString& text) {
                                        ++m_count;
                                        fail(text);
                                    },
                                    [](const QString&, bool defaultYes) { return defaultYes; }});
    }
    ~StandardErrorMessages() { MessageBoxes::setPresenter({}); }
    StandardErrorMessages(const StandardErrorMessages&) = delete;
    StandardErrorMessages& operator=(const StandardErrorMessages&) = delete;

    int count() const { return m_count; }

private:
    int m_count = 0;
};

// The content files a run reads are checked as the window checks them before it uses any.
bool contentChecksumsMatch()
{
    const QString wrong = ContentCheck::firstWrongChecksum();
    if (wrong.isEmpty())
        return true;
    fail(LoadString(StringId::WrongChecksum) + QLatin1String(". ") + fileLocation(wrong));
    return false;
}

// A name for the terminal: a file name given on the command line may hold control characters.
QString shown(const QString& name)
{
    return escapeControlCharacters(name);
}

// A text of the string table; "\n" in it stands for a line break.
QString text(int id)
{
    return LoadString(id).replace(QLatin1String("\\n"), QLatin1String("\n"));
}

// The statistics of the answer store; an absent store gives the header row alone.
int exportStatistics(const QString& path)
{
    AnswerStore store(AnswerStore::defaultFolder());
    if (QFile::exists(store.filePath()))
        store.open();
    const SymbolNames names;
    const SymbolNumbers numbers;
    const int rows = CoachExport::writeStatistics(
        store, [&names](SymbolKind kind, qint32 value) { return names.name(kind, value); },
        [&numbers](SymbolKind kind, qint32 value) { return numbers.of(kind, value); }, path);
    QTextStream(stdout)
        << countedText(StringId::SymbolWritten, StringId::SymbolsWritten, rows).arg(shown(path)) << Qt::endl;
    return 0;
}

int exportResults(const QString& path)
{
    int damaged = 0;
    qint64 cut = 0;
    const QString results = resultsFileName();
    // the tests named in the language of this run, whatever the language they were played in
    const TestNames tests;
    const int rows = CoachExport::writeResults(results, path, &damaged, &cut,
                                               [&tests](qint32 number) { return tests.name(number); });
    QTextStream out(stdout);
    out << countedText(StringId::ResultWritten, StringId::ResultsWritten, rows).arg(shown(path)) << Qt::endl;
    if (damaged > 0)
        out << countedText(StringId::DamagedResultLeftOut, StringId::DamagedResultsLeftOut, damaged)
            << Qt::endl;
    // the whole records are exported; the cut one is named on standard error
    if (cut > 0)
        fail(AppError(QString::fromLatin1(Msg::CutRecordLeftOut), {QString::number(cut)})
                 .inFile(QFileInfo(results).absoluteFilePath()));
    return 0;
}

// Whether the sheet file at `path` is a course setter's event file rather than a coach's text.
bool isEventFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String(EventFileSuffix), Qt::CaseInsensitive) == 0)
        return true;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray head = file.read(EventFileSniff);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    return head.trimmed().startsWith('<');
}

// The courses of an event file, one line each: name, controls, length and climb.
int listCourses(const QString& path)
{
    const CourseEvent event = readCourseEvent(path);
    QTextStream out(stdout);
    const QString unknown = QStringLiteral("?");
    for (const EventCourse& course : event.courses) {
        const QString length = courseLength(event, course);
        const QString climb = courseClimb(course);
        out << text(StringId::CourseListed)
                   .arg(shown(course.name),
                        countedText(StringId::CourseControl, StringId::CourseControls,
                                    event.controlCount(course)),
                        length.isEmpty() ? unknown : length, climb.isEmpty() ? unknown : climb)
            << Qt::endl;
    }
    return 0;
}

// What a printout run asks for, from the parsed options.
struct PrintRequest
{
    QString test;
    QString handout;
    QString sheet;
    // The sheet is an event file: the course to print, or all of them.
    bool event = false;
    QString course;
    bool allCourses = false;
    QString pdf;
    QPageSize paper = PdfFile::defaultPaper();
};

// The options of the printouts.
struct PrintOptions
{
    QCommandLineOption test{QString::fromLatin1(PrintTest), text(StringId::PrintTestOption),
                            QStringLiteral("N")};
    QCommandLineOption handout{QString::fromLatin1(PrintHandout), text(StringId::PrintHandoutOption),
                               QStringLiteral("KIND")};
    QCommandLineOption sheet{QString::fromLatin1(PrintSheet), text(StringId::PrintSheetOption),
                             QStringLiteral("FILE")};
    QCommandLineOption course{QString::fromLatin1(Course), text(StringId::CourseOption),
                              QStringLiteral("NAME")};
    QCommandLineOption allCourses{QString::fromLatin1(AllCourses), text(StringId::AllCoursesOption)};
    QCommandLineOption pdf{QString::fromLatin1(Pdf), text(StringId::PdfOption), QStringLiteral("FILE.pdf")};
    QCommandLineOption paper{QString::fromLatin1(Paper), text(StringId::PaperOption),
                             QStringLiteral("a4|letter")};

    void addTo(QCommandLineParser& parser) const
    {
        for (const QCommandLineOption& option : {test, handout, sheet, course, allCourses, pdf, paper})
            parser.addOption(option);
    }
    int printouts(const QCommandLineParser& parser) const
    {
        return int(parser.isSet(test)) + int(parser.isSet(handout)) + int(parser.isSet(sheet));
    }
    // The request of the parsed options, files named relative to `caller`; what is wrong with them
    // in `fault`.
    PrintRequest request(const QCommandLineParser& parser, const QDir& caller, QString* fault) const
    {
        PrintRequest r;
        r.test = parser.value(test);
        r.handout = parser.value(handout);
        if (parser.isSet(sheet)) {
            r.sheet = caller.absoluteFilePath(parser.value(sheet));
            r.event = isEventFile(r.sheet);
        }
        r.course = parser.value(course);
        r.allCourses = parser.isSet(allCourses);
        r.pdf = caller.absoluteFilePath(parser.value(pdf));
        const auto isKind = [&r](const auto& k) { return r.handout == QLatin1String(k.name); };
        if (printouts(parser) > 1)
            *fault = text(StringId::OnePrintoutAtATime);
        else if (!parser.isSet(pdf))
            *fault = text(StringId::PdfNeeded);
        else if (parser.isSet(test) && r.test.toInt() <= 0)
            *fault = text(StringId::TestNumberNeeded).arg(r.test);
        else if (parser.isSet(handout) &&
                 std::none_of(std::begin(HandoutKinds), std::end(HandoutKinds), isKind))
            *fault = text(StringId::HandoutKindNeeded).arg(r.handout);
        else if ((parser.isSet(course) || r.allCourses) &&
                 (!r.event || (parser.isSet(course) && r.allCourses)))
            *fault = text(StringId::CourseWithoutEvent);
        else if (r.event && !parser.isSet(course) && !r.allCourses)
            *fault = text(StringId::CourseNeeded);
        if (parser.isSet(paper)) {
            const std::optional<QPageSize> named = PdfFile::paperNamed(parser.value(paper));
            if (named)
                r.paper = *named;
            else if (fault->isEmpty())
                *fault = text(StringId::PaperNeeded).arg(parser.value(paper));
        }
        return r;
    }
};

int writePrintout(const PrintRequest& request)
{
    Printout printout(QString{});
    if (!request.test.isEmpty()) {
        printout = Printouts::testQuiz(request.test.toInt());
    } else if (request.event) {
        printout = Printouts::courseSheets(request.sheet, request.allCourses ? QString() : request.course);
    } else if (!request.sheet.isEmpty()) {
        printout = Printouts::sheet(request.sheet);
    } else {
        for (const auto& k : HandoutKinds) {
            if (request.handout == QLatin1String(k.name))
                printout = Printouts::handout(k.kind);
        }
    }
    const int pages = PdfFile::write(printout, request.pdf, request.paper);
    QTextStream(stdout)
        << countedText(StringId::PageWritten, StringId::PagesWritten, pages).arg(shown(request.pdf))
        << Qt::endl;
    return 0;
}

// A usage error as GNU programs give it: what is wrong on one line, then where the options are
// listed; exit status 2.
int usageError(const QString& what)
{
    fail(what);
    QTextStream(stderr) << text(StringId::TryHelp).arg(QLatin1String(ProgramName)) << Qt::endl;
    return 2;
}

// The program's name, version and licence.
int showVersion()
{
    QTextStream(stdout) << ProgramName << " (" << ApplicationTitle << ") " << QUILL_VERSION << '\n'
                        << text(StringId::LicenceNotice) << Qt::endl;
    return 0;
}

// The texts of the language the window would show, without a window.
std::unique_ptr<QCoreApplication> textsWithoutWindow(int& argc, char** argv)
{
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    QCoreApplication::setOrganizationName(QStringLiteral("Dovetail"));
    return app;
}

} // namespace

int runCommandLine(int argc, char** argv)
{
    if (!asksForCommandLine(argc, argv))
        return -1;
    // The files named on the command line are the caller's, relative to the caller's folder; the
    // program's own files are those of its folder.
    const QString callerFolder = QDir::currentPath();
    const bool printing = asksForPrintout(argc, argv);
    if (printing)
        qputenv("QT_QPA_PLATFORM", NoDisplayPlatform);
    std::unique_ptr<QCoreApplication> app;
    if (printing) {
        app = std::make_unique<QGuiApplication>(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
        QCoreApplication::setOrganizationName(QStringLiteral("Dovetail"));
    } else {
        app = textsWithoutWindow(argc, argv);
    }

    // the texts of the command line are those of the language the window would show; a language
    // module that cannot be used stops the run, as its files would be in another language
    StandardErrorMessages messages;
    setModuleDamageReporter([](const AppError& error) { MessageBoxes::showError(error); });
    Language::selectModule();
    if (messages.count() > 0)
        return 1;
    QCommandLineParser parser;
    parser.setApplicationDescription(text(StringId::CommandLineDescription));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, text(StringId::HelpOption));
    const QCommandLineOption version(QStringLiteral("version"), text(StringId::VersionOption));
    const QCommandLineOption statistics(QString::fromLatin1(ExportStatistics),
                                        text(StringId::ExportStatisticsOption), QStringLiteral("FILE"));
    const QCommandLineOption results(QString::fromLatin1(ExportResults), text(StringId::ExportResultsOption),
                                     QStringLiteral("FILE"));
    const QCommandLineOption courses(QString::fromLatin1(ListCourses), text(StringId::ListCoursesOption),
                                     QStringLiteral("FILE.ppen"));
    const PrintOptions print;
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(statistics);
    parser.addOption(results);
    parser.addOption(courses);
    print.addTo(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.isSet(version))
        return showVersion();
    const int printouts = print.printouts(parser);
    const bool exports = parser.isSet(statistics) || parser.isSet(results);
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            text(StringId::UnexpectedArguments).arg(parser.positionalArguments().join(QLatin1Char(' '))));
    if (!exports && printouts == 0 && !parser.isSet(courses))
        return usageError(text(StringId::NothingToWrite));
    if (printouts == 0 && (parser.isSet(print.pdf) || parser.isSet(print.paper)))
        return usageError(text(StringId::PdfWithoutPrintout));
    if (printouts == 0 && (parser.isSet(print.course) || parser.isSet(print.allCourses)))
        return usageError(text(StringId::CourseWithoutEvent));
    const QDir caller(callerFolder);
    QString fault;
    const PrintRequest request = print.request(parser, caller, &fault);
    if (printouts > 0 && !fault.isEmpty())
        return usageError(fault);

    // the program's folder and the folder of the user's files, as for a start with a window
    QDir::setCurrent(Desktop::programFolder());
    DataFolder::choose(QDir::currentPath());
    try {
        // the statistics are named, and the printouts drawn, from the checked content files
        if ((parser.isSet(statistics) || printouts == 1) && !contentChecksumsMatch())
            return 1;
        int status = 0;
        if (parser.isSet(courses))
            status = listCourses(caller.absoluteFilePath(parser.value(courses)));
        if (status == 0 && parser.isSet(statistics))
            status = exportStatistics(caller.absoluteFilePath(parser.value(statistics)));
        if (status == 0 && parser.isSet(results))
            status = exportResults(caller.absoluteFilePath(parser.value(results)));
        if (status == 0 && printouts == 1)
            status = writePrintout(request);
        return messages.count() > 0 ? 1 : status;
    } catch (const AppError& error) {
        fail(error);
        return 1;
    }
}

int refuseWindowArguments(const QStringList& arguments)
{
    return usageError(text(StringId::UnexpectedArguments).arg(arguments.join(QLatin1Char(' '))));
}

int refuseWithoutDisplay(int argc, char** argv)
{
    // a platform named on the command line or in the environment is Qt's to try
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return -1;
    }
    int count = argc;
    const std::unique_ptr<QCoreApplication> app = textsWithoutWindow(count, argv);
    StandardErrorMessages messages;
    Language::selectModule();
    fail(text(StringId::NoDisplay));
    return 1;
}
