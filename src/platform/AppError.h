// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

// The one exception type of the system. It carries the system's own message text (for example
// "File not found" or "Resource %s not found") and its arguments; the text is translated into the
// active language only when it is shown.
class AppError : public std::exception
{
public:
    explicit AppError(QString messageTemplate, QStringList arguments = {});

    const QString& messageTemplate() const { return m_template; }
    const QStringList& arguments() const { return m_arguments; }
    // The message in the active language with its arguments filled in.
    QString text() const;
    const char* what() const noexcept override;

    // Where the failure lies, as far as it is known: the file (a name or a path) and the number or
    // the line in it. The code that knows the file adds it on the way out; what was set nearer the
    // fault is kept.
    AppError& inFile(const QString& file);
    AppError& atNumber(qint64 number);
    AppError& atLine(qint64 line);
    const QString& file() const { return m_file; }
    // "File: /path/Legends.eng, line 12" in the active language; empty when no file is known.
    QString location() const;

    // The active language installs its message translations here.
    using Translator = std::function<QString(const QString&)>;
    static void setTranslator(Translator translator);

private:
    void updateWhat();

    QString m_template;
    QStringList m_arguments;
    QString m_file;
    qint64 m_number = -1;
    qint64 m_line = -1;
    QByteArray m_what;
};

// The standard message texts.
namespace Msg {
inline constexpr char FileNotFound[] = "File not found";
inline constexpr char FileAccessDenied[] = "File access denied";
inline constexpr char IoError[] = "I/O error %d";
inline constexpr char InvalidNumericInput[] = "Invalid numeric input";
inline constexpr char ReadBeyondEnd[] = "Read beyond end of file";
inline constexpr char DiskFull[] = "Disk full";
// What a name stands for when it is no file the program may read or write.
inline constexpr char IsAFolder[] = "The name is a folder, not a file";
inline constexpr char NotAFile[] = "The name is a device, pipe or socket, not a file";
inline constexpr char LinkToNothing[] = "The name is a symbolic link to no file";
inline constexpr char NameTooLong[] = "The file name is too long";
inline constexpr char FolderNotFound[] = "The folder of the file does not exist";
inline constexpr char PathThroughFile[] = "A part of the path is a file, not a folder";
inline constexpr char LinkLoop[] = "The path has too many symbolic links";
inline constexpr char ResourceNotFound[] = "Resource %s not found";
inline constexpr char FailedToSetData[] = "Failed to set data for '%s'";
inline constexpr char FailedToGetData[] = "Failed to get data for '%s'";
inline constexpr char InvalidDataType[] = "Invalid data type for '%s'";
inline constexpr char ValueOutOfRange[] = "Value must be between %d and %d";
// Content that a test or the program needs and does not find.
inline constexpr char NoTextForNumber[] = "No text for number %d";
inline constexpr char TestWithoutSymbols[] = "Test %d has no symbols";
inline constexpr char FontLacksSymbols[] = "The symbol font cannot draw symbol %s";
inline constexpr char FontNotInstalled[] = "The symbol font could not be installed";
inline constexpr char DamagedFile[] = "The file is damaged or of an unknown kind";
inline constexpr char NothingInFile[] = "The file holds nothing the program can read";
inline constexpr char DamagedResultsSkipped[] = "%d damaged results of this test were left out";
inline constexpr char CutRecordLeftOut[] = "The file ends in a cut record (%d bytes), which is left out";
inline constexpr char ResultsInUse[] = "The results file is in use by another copy of the program";
// Printing, and a description sheet written by a coach.
inline constexpr char TestNotFound[] = "No catalogue has test %d";
inline constexpr char UnknownSymbol[] = "No symbol is written %s";
inline constexpr char SymbolOutOfPlace[] =
    "Symbol %s is out of place: columns C to H come in this order, each once";
inline constexpr char OneFeatureOfTwo[] =
    "Symbol %s joins two features: write both, the first for column D, the second for column E";
inline constexpr char NotASheetLine[] = "A line starts with a control code or a keyword, not %s";
inline constexpr char SheetWithoutControls[] = "The description sheet lists no control";
// A course setter's event file.
inline constexpr char EventFileTooLarge[] = "The file is larger than %d MB";
inline constexpr char NotAnEventFile[] = "The file is not a course setter's event file: %s";
inline constexpr char CourseLoop[] = "Course %s comes back to control %s: its controls form a loop";
inline constexpr char MissingCourseControl[] =
    "Course %s names course control %s, which the file does not have";
inline constexpr char MissingControl[] = "Course %s names control %s, which the file does not have";
inline constexpr char ControlWithoutDescription[] = "Course %s, control %s: the control has no description";
inline constexpr char UnknownSymbolId[] = "Course %s, control %s: no symbol has the id %s";
inline constexpr char DescriptionOutOfPlace[] = "Course %s, control %s: %s cannot stand in box %s";
inline constexpr char NoCourseNamed[] = "The file has no course named %s";
inline constexpr char CourseWithoutControls[] = "Course %s has no control";
// The answer store.
inline constexpr char StatisticsUnusable[] = "The statistics file cannot be used: %s";
inline constexpr char StatisticsOff[] = "Statistics are off until the next start (%s)";
inline constexpr char StatisticsTooNew[] = "The statistics file was made by a newer version (schema %d)";
// The location added to a message.
inline constexpr char InFile[] = "File: %s";
inline constexpr char AtNumber[] = "number %d";
inline constexpr char AtLine[] = "line %d";
} // namespace Msg

// "File: /path/name" in the active language, as a message names the file at fault.
QString fileLocation(const QString& file);

// An input/output error for a failed open, read or write, chosen from the system error number.
AppError ioErrorFromErrno(int errorNumber);

// `text` with every control character written as an escape ("\x1b"), so that a message that
// quotes a file's bytes or names cannot drive the terminal it is printed on.
QString escapeControlCharacters(const QString& text);
