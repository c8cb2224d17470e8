#pragma once

#include <QByteArray>
#include <QHash>
#include <QLocale>
#include <QString>
#include <memory>

class ResourceContainer;

// String ids of the program's string table.
namespace StringId {
enum : int {
    LegendsBase = 65280,
    WrongChecksum = 65281,
    LanguageCode = 65296,
    WalkthroughTitle = 65297,
    ColumnsTitle = 65298,
    ThickerLinesNote = 65299,
    MarkedRouteTitle = 65300,
    LineMeaningTitle = 65301,
    QuizTitle = 65302,
    MainMenuTitle = 65303,
    NameHeading = 65304,
    ErrorsHeading = 65305,
    TimeHeading = 65306,
    ResultsFile = 65307,
    CombinationCatalogue = 65308,
    DescriptionCatalogue = 65309,
    MapSymbolCatalogue = 65310,
    Bitm1Base = 65311,
    LanguageName = 65312,
    // Feedback and guidance for a learner on their own.
    ThatWas = 65400,
    ResumeCaption = 65401,
    PracticeHint = 65402,
    LeaveRoundQuestion = 65403,
    ResultNotRecorded = 65404,
    AccuracyLabel = 65405,
    MissedHeading = 65406,
    MissedLine = 65407,
    EmptyNameRefused = 65408,
    ClearAllQuestion = 65409,
    ClearAllDone = 65410,
    TrimQuestion = 65411,
    TrimDone = 65412,
    TrimNothing = 65413,
    ShowRightCellOption = 65414,
    NothingMissed = 65415,
    ChooseTestHint = 65416,
    LearningModeLine = 65417,
    TestingModeLine = 65418,
    StepCounter = 65419,
    TryQuizCaption = 65420,
    QuizScore = 65421,
    QuizSummary = 65422,
    CreditLine = 65423,
    AboutText = 65424,
    CellPosition = 65425,
    BoardName = 65426,
    ProgressName = 65427,
    ClockName = 65428,
    ErrorCountName = 65429,
    TargetPictureName = 65430,
    ExcerptPictureName = 65431,
    SketchPictureName = 65432,
    SheetPartName = 65433,
    ResultsTableName = 65434,
    // A quick quiz of one length in the results viewer: its direction's name, its questions.
    QuizLengthName = 65435,
    // The end of a round: what was missed, in the words of the kind of symbols it asked for.
    // A name the results file cannot hold: its letters.
    NameDoesNotFit = 65436,
    MissedMapHeading = 65440,
    NothingMapMissed = 65441,
    MissedLineHeading = 65442,
    NothingLineMissed = 65443,
    MissedUnansweredLine = 65444,
    ResultsFolder = 65320,
    // The quick quiz: one label, test name and question per direction (in the order of
    // QuickQuiz's directions), then the texts of its play and summary.
    QuizDirectionLabel = 65480,
    QuizTestName = 65490,
    QuizPrompt = 65500,
    QuizProgress = 65510,
    QuizRight = 65511,
    QuizWrong = 65512,
    QuizTimeUp = 65513,
    QuizFinished = 65514,
    QuizMissedHeading = 65515,
    QuizNothingMissed = 65516,
    QuizRightAnswer = 65517,
    QuizYourAnswer = 65518,
    QuizNoAnswer = 65519,
    // Printouts for a coach: quizzes, handouts, description sheets.
    PrintButton = 65450,
    PrintQuizAction = 65451,
    PrintHandoutAction = 65452,
    PrintSheetAction = 65453,
    SheetFileFilter = 65454,
    NameField = 65455,
    DateField = 65456,
    WriteMeaningTask = 65457,
    TickReadingTask = 65458,
    PaperQuizTitle = 65459,
    AnswerKeyTitle = 65460,
    DescriptionHandoutTitle = 65461,
    MapHandoutTitle = 65462,
    LineHandoutTitle = 65463,
    PageNumber = 65464,
    SheetTitle = 65465,
    ChooseSheetTitle = 65466,
    // The command line: its description and options for --help, what a run wrote, what is wrong
    // with the arguments; the licence, which --version and the About box show.
    CommandLineDescription = 65360,
    HelpOption = 65361,
    ExportStatisticsOption = 65362,
    ExportResultsOption = 65363,
    PrintTestOption = 65364,
    PrintHandoutOption = 65365,
    PrintSheetOption = 65366,
    PdfOption = 65367,
    PaperOption = 65368,
    SymbolsWritten = 65369,
    ResultsWritten = 65370,
    DamagedResultsLeftOut = 65371,
    PagesWritten = 65372,
    OnePrintoutAtATime = 65373,
    PdfNeeded = 65374,
    TestNumberNeeded = 65375,
    HandoutKindNeeded = 65376,
    PaperNeeded = 65377,
    UnexpectedArguments = 65378,
    NothingToWrite = 65379,
    PdfWithoutPrintout = 65380,
    VersionOption = 65381,
    TryHelp = 65382,
    NoDisplay = 65383,
    LicenceNotice = 65384,
};
}

// The stored settings' key that holds the language chosen for each executable (value name: the
// executable's path; the unnamed value stands for every executable).
inline constexpr char LanguageChoiceKey[] = "Software\\Borland\\Locales";

// The active interface language: the built-in English one or a language module "quill.<ext>"
// beside the executable, chosen once at start. It gives the string table, the screen descriptions
// and the translations of the system's messages.
class Language
{
public:
    // The choice made at start: the stored extension for this executable (or the key's unnamed
    // value), else the user's three-letter language, else its first two letters, else the English
    // module, else built-in.
    static void selectModule();
    // The same choice with every input given (tests): `storedExtension` may be empty.
    static void selectModule(const QString& executablePath, const QString& storedExtension,
                             const QString& userLanguage3);
    // Makes `path` the active module; false (the active language unchanged) when it cannot be used.
    // A damaged module is reported in the standard error box, naming the file.
    static bool activateModuleFile(const QString& path);
    static void activateBuiltIn();

    static bool hasModule();
    static QString moduleFile();
    // The language's own name ("Deutsch") that the module file at `path` gives, read without
    // making it active; empty when the file is no module or gives no name.
    static QString moduleLanguageName(const QString& path);

    static QString string(int id);
    // The locale of the language, for dates and numbers: the system's where it is of the same
    // language (so that its country's forms stay), else the language's own. Made Qt's default
    // locale when a language is activated.
    static QLocale locale();
    // The screen description (.ui) of a screen class; throws "Resource %s not found".
    static QByteArray screenDescription(const QString& className);
    static QString translateMessage(const QString& message);

private:
    struct Active;
    static Active& active();
    static void fillTexts(Active& a);
    static void load(std::unique_ptr<ResourceContainer> container);
};

// The text of string `id` in the active language; empty when the language lacks it.
QString LoadString(int id);
// String 65296, fetched afresh each time.
QString LanguageCode();
// base + LanguageCode().
QString ContentFileName(const QString& base);
