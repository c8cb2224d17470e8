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

    // The active language installs its message translations here.
    using Translator = std::function<QString(const QString&)>;
    static void setTranslator(Translator translator);

private:
    QString m_template;
    QStringList m_arguments;
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
inline constexpr char ResourceNotFound[] = "Resource %s not found";
inline constexpr char DamagedFile[] = "File %s is damaged";
inline constexpr char FailedToSetData[] = "Failed to set data for '%s'";
inline constexpr char FailedToGetData[] = "Failed to get data for '%s'";
inline constexpr char InvalidDataType[] = "Invalid data type for '%s'";
inline constexpr char ValueOutOfRange[] = "Value must be between %d and %d";
} // namespace Msg

// An input/output error for a failed open, read or write, chosen from the system error number.
AppError ioErrorFromErrno(int errorNumber);
