// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/TextReader.h"

#include "platform/AppError.h"

#include <algorithm>
#include <charconv>

namespace {
constexpr char EndOfFile = 26;
constexpr int MaxNumberLength = 32;
} // namespace

TextReader::TextReader(QByteArrayView data) : m_data(data)
{
    const qsizetype stop = data.indexOf(EndOfFile);
    m_end = stop < 0 ? data.size() : stop;
    m_pos = std::min(utf8MarkSize(data), m_end);
    m_utf8 = m_pos > 0;
}

QString TextReader::decode(QByteArrayView bytes) const
{
    return m_utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

qsizetype utf8MarkSize(QByteArrayView data)
{
    return data.startsWith(QByteArrayView(Utf8Mark, Utf8MarkSize)) ? Utf8MarkSize : 0;
}

qint32 TextReader::readNumber(bool itemLine)
{
    const auto endsToken = [&](char c) {
        return static_cast<unsigned char>(c) <= 32 || (itemLine && (c == '{' || c == '}' || c == ','));
    };
    while (m_pos < m_end && static_cast<unsigned char>(m_data[m_pos]) <= 32)
        ++m_pos;
    if (m_pos >= m_end)
        return 0;
    const qsizetype start = m_pos;
    while (m_pos < m_end && m_pos - start < MaxNumberLength && !endsToken(m_data[m_pos]))
        ++m_pos;
    const char* first = m_data.data() + start;
    const char* last = m_data.data() + m_pos;
    if (first != last && *first == '+')
        ++first; // a leading plus sign is allowed, like a minus
    qint32 value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || first == last || (*first == '-' && m_data[start] == '+'))
        throw AppError(QString::fromLatin1(Msg::InvalidNumericInput)).atLine(lineAt(start));
    return value;
}

qsizetype TextReader::lineAt(qsizetype position) const
{
    // every CR ends a line, and every LF that does not follow a CR
    const QByteArrayView before = m_data.first(std::min(position, m_data.size()));
    qsizetype line = 1;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] == '\r' || (before[i] == '\n' && (i == 0 || before[i - 1] != '\r')))
            ++line;
    }
    return line;
}

QByteArray TextReader::readRestOfLine()
{
    const qsizetype start = m_pos;
    while (!atLineEnd())
        ++m_pos;
    return m_data.sliced(start, m_pos - start).toByteArray();
}

void TextReader::nextLine()
{
    while (!atLineEnd())
        ++m_pos;
    if (m_pos < m_end) {
        const char end = m_data[m_pos++];
        if (end == '\r' && m_pos < m_end && m_data[m_pos] == '\n')
            ++m_pos;
    }
}

char TextReader::readChar()
{
    if (m_pos >= m_end)
        return EndOfFile;
    return m_data[m_pos++];
}
