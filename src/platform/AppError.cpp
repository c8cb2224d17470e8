#include "platform/AppError.h"

#include <cerrno>

namespace {
AppError::Translator& translator()
{
    static AppError::Translator instance;
    return instance;
}
} // namespace

AppError::AppError(QString messageTemplate, QStringList arguments)
    : m_template(std::move(messageTemplate)), m_arguments(std::move(arguments))
{
    m_what = text().toLocal8Bit();
}

QString AppError::text() const
{
    QString result = translator() ? translator()(m_template) : m_template;
    // Fill %s and %d in order, as a printf-style template does.
    for (const QString& argument : m_arguments) {
        const qsizetype at = [&] {
            const qsizetype s = result.indexOf(QLatin1String("%s"));
            const qsizetype d = result.indexOf(QLatin1String("%d"));
            if (s < 0)
                return d;
            if (d < 0)
                return s;
            return std::min(s, d);
        }();
        if (at < 0)
            break;
        result.replace(at, 2, argument);
    }
    return result;
}

const char* AppError::what() const noexcept
{
    return m_what.constData();
}

void AppError::setTranslator(Translator t)
{
    translator() = std::move(t);
}

AppError ioErrorFromErrno(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return AppError(QString::fromLatin1(Msg::FileNotFound));
    case EACCES:
    case EPERM:
    case EROFS:
        return AppError(QString::fromLatin1(Msg::FileAccessDenied));
    case ENOSPC:
    case EDQUOT:
        return AppError(QString::fromLatin1(Msg::DiskFull));
    default:
        return AppError(QString::fromLatin1(Msg::IoError), {QString::number(errorNumber)});
    }
}
