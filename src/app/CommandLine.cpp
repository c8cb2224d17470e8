#include "app/CommandLine.h"

#include "content/Language.h"
#include "game/SymbolNames.h"
#include "platform/AppError.h"
#include "results/AnswerStore.h"
#include "results/CsvExport.h"
#include "results/ResultsFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstring>

namespace {

constexpr char ExportStatistics[] = "export-statistics";
constexpr char ExportResults[] = "export-results";

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

void fail(const QString& text)
{
    QTextStream(stderr) << "quill: " << text << Qt::endl;
}

void fail(const AppError& error)
{
    const QString location = error.location();
    fail(location.isEmpty() ? error.text() : error.text() + QLatin1String(". ") + location);
}

// The statistics of the answer store; an absent store gives the header row alone.
int exportStatistics(const QString& csvPath)
{
    AnswerStore store(AnswerStore::defaultFolder());
    if (QFile::exists(store.filePath()))
        store.open();
    const SymbolNames names;
    const int rows = CsvExport::writeStatistics(
        store, [&names](quint8 kind, qint32 value) { return names.name(kind, value); }, csvPath);
    QTextStream(stdout) << rows << " symbols written to " << csvPath << Qt::endl;
    return 0;
}

int exportResults(const QString& csvPath)
{
    int damaged = 0;
    const int rows =
        CsvExport::writeResults(QDir::current().absoluteFilePath(resultsFileName()), csvPath, &damaged);
    QTextStream out(stdout);
    out << rows << " results written to " << csvPath << Qt::endl;
    if (damaged > 0)
        out << damaged << " damaged results left out" << Qt::endl;
    return 0;
}

} // namespace

int runCommandLine(int argc, char** argv)
{
    if (!asksForCommandLine(argc, argv))
        return -1;
    // The files named on the command line are the caller's, relative to the caller's folder; the
    // program's own files are those of its folder.
    const QString callerFolder = QDir::currentPath();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    QCoreApplication::setOrganizationName(QStringLiteral("Dovetail"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A trainer for orienteering control descriptions and map symbols.\n"
        "Without options it opens its window; these options write files for a coach and open none."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Lists the options."));
    const QCommandLineOption statistics(
        QString::fromLatin1(ExportStatistics),
        QStringLiteral("Writes one row per symbol answered: value,name,attempts,correct,mean_ms,last_seen "
                       "(UTF-8, header row, last_seen in UTC)."),
        QStringLiteral("FILE.csv"));
    const QCommandLineOption results(
        QString::fromLatin1(ExportResults),
        QStringLiteral("Writes every stored result: name,test_number,test_name,time,errors (UTF-8, header "
                       "row, time in seconds)."),
        QStringLiteral("FILE.csv"));
    parser.addOption(help);
    parser.addOption(statistics);
    parser.addOption(results);
    if (!parser.parse(QCoreApplication::arguments())) {
        fail(parser.errorText());
        QTextStream(stderr) << parser.helpText();
        return 2;
    }
    if (parser.isSet(help)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty() || (!parser.isSet(statistics) && !parser.isSet(results))) {
        fail(QStringLiteral("unexpected arguments: ") + parser.positionalArguments().join(QLatin1Char(' ')));
        QTextStream(stderr) << parser.helpText();
        return 2;
    }

    QDir::setCurrent(QCoreApplication::applicationDirPath());
    Language::selectModule();
    const QDir caller(callerFolder);
    try {
        int status = 0;
        if (parser.isSet(statistics))
            status = exportStatistics(caller.absoluteFilePath(parser.value(statistics)));
        if (status == 0 && parser.isSet(results))
            status = exportResults(caller.absoluteFilePath(parser.value(results)));
        return status;
    } catch (const AppError& error) {
        fail(error);
        return 1;
    }
}
