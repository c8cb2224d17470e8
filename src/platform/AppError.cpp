// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AppError.h"

#include <QDir>
#include <algorithm>
#include <cerrno>

namespace {
AppError::Translator& translator()
{
    static AppError::Translator instance;
    return instance;
}

// The template in the active language with %s and %d filled in order, as printf fills them. An
// argument is text from outside (a file's words, a path): its control characters are escaped, and a
// "%s" in it is not filled.
QString fillTemplate(const QString& messageTemplate, const QStringList& arguments)
{
    QString result = translator() ? translator()(messageTemplate) : messageTemplate;
    qsizetype from = 0;
    for (const QString& argument : arguments) {
        const qsizetype at = [&] {
            const qsizetype s = result.indexOf(QLatin1String("%s"), from);
            const qsizetype d = result.indexOf(QLatin1String("%d"), from);
            if (s < 0)
                return d;
            if (d < 0)
                return s;
            return std::min(s, d);
        }();
        if (at < 0)
            break;
        const QString filled = escapeControlCharacters(argument);
        result.replace(at, 2, filled);
        from = at + filled.size();
    }
    return result;
}
} // namespace

AppError::AppError(QString messageTemplate, QStringList arguments)
    : m_template(std::move(messageTemplate)), m_arguments(std::move(arguments))
{
    updateWhat();
}

QString AppError::text() const
{
    return fillTemplate(m_template, m_arguments);
}

AppError& AppError::inFile(const QString& file)
{
    if (m_file.isEmpty()) {
        m_file = file;
        updateWhat();
    }
    return *this;
}

AppError& AppError::atNumber(qint64 number)
{
    if (m_number < 0 && m_line < 0) {
        m_number = number;
        updateWhat();
    }
    return *this;
}

AppError& AppError::atLine(qint64 line)
{
    if (m_number < 0 && m_line < 0) {
        m_line = line;
        updateWhat();
    }
    return *this;
}

QString AppError::location() const
{
    if (m_file.isEmpty())
        return {};
    QString result = fileLocation(m_file);
    if (m_line >= 0)
        result +=
            QLatin1String(", ") + fillTemplate(QString::fromLatin1(Msg::AtLine), {QString::number(m_line)});
    else if (m_number >= 0)
        result += QLatin1String(", ") +
                  fillTemplate(QString::fromLatin1(Msg::AtNumber), {QString::number(m_number)});
    return result;
}

void AppError::updateWhat()
{
    QString all = text();
    if (!m_file.isEmpty())
        all += QLatin1String(" (") + location() + QLatin1Char(')');
    m_what = all.toLocal8Bit();
}

const char* AppError::what() const noexcept
{
    return m_what.constData();
}

void AppError::setTranslator(Translator t)
{
    translator() = std::move(t);
}

QString fileLocation(const QString& file)
{
    return fillTemplate(QString::fromLatin1(Msg::InFile), {QDir::toNativeSeparators(file)});
}

AppError ioErrorFromErrno(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return AppError(QString::fromLatin1(Msg::FileNotFound));
    case ENOTDIR:
        return AppError(QString::fromLatin1(Msg::PathThroughFile));
    case EACCES:
    case EPERM:
    case EROFS:
        return AppError(QString::fromLatin1(Msg::FileAccessDenied));
    case ENOSPC:
    case EDQUOT:
        return AppError(QString::fromLatin1(Msg::DiskFull));
    case EISDIR:
        return AppError(QString::fromLatin1(Msg::IsAFolder));
    case ENAMETOOLONG:
        return AppError(QString::fromLatin1(Msg::NameTooLong));
    case ELOOP:
        return AppError(QString::fromLatin1(Msg::LinkLoop));
    case ENXIO:
    case ENODEV:
        return AppError(QString::fromLatin1(Msg::NotAFile));
    default:
        return AppError(QString::fromLatin1(Msg::IoError), {QString::number(errorNumber)});
    }
}

QString escapeControlCharacters(const QString& text)
{
    const auto isControl = [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0);
    };
    if (std::none_of(text.cbegin(), text.cend(), isControl))
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (isControl(c))
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}
