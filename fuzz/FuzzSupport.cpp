// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzSupport.h"

#include "content/Language.h"
#include "platform/MessageBoxes.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace Fuzz {

namespace {
constexpr char EndOfFile = 26;
constexpr int MaxTokenLength = 32;
} // namespace

void initialise(int* argc, char*** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The results grid is a widget: the application object is a QApplication, made once.
    static QApplication app(*argc, *argv);
    // Files are written for every input: a folder in memory when there is one.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/quill-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quill-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        std::abort();
    }
    QDir::setCurrent(dir.path());
    QDir(dir.path()).mkpath(QStringLiteral("store"));
    RegistryKey::setStoreDirectory(dir.filePath(QStringLiteral("store")));
    MessageBoxes::setHandler([](MessageBoxes::Kind, const QString&) {});
    Language::activateBuiltIn();
}

void writeFile(const QString& name, QByteArrayView bytes)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        fail("cannot write an input file");
}

QByteArray readFile(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void fail(const char* what)
{
    std::fprintf(stderr, "FINDING: %s\n", what);
    std::abort();
}

NumberRule::NumberRule(QByteArrayView d) : data(d)
{
    end = data.size();
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] == EndOfFile) {
            end = i;
            break;
        }
    }
    // a file that starts with the UTF-8 byte-order mark is read after it
    if (data.startsWith(QByteArrayView("\xEF\xBB\xBF", 3)))
        pos = std::min<qsizetype>(3, end);
}

bool NumberRule::utf8() const
{
    return data.startsWith(QByteArrayView("\xEF\xBB\xBF", 3)) && end >= 3;
}

std::optional<qint32> NumberRule::readNumber(bool itemLine)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (pos < end && blank(data[pos]))
        ++pos;
    if (pos >= end)
        return 0;
    const qsizetype start = pos;
    while (pos < end && pos - start < MaxTokenLength && !blank(data[pos]) &&
           !(itemLine && (data[pos] == '{' || data[pos] == '}' || data[pos] == ',')))
        ++pos;
    qsizetype i = start;
    bool negative = false;
    if (i < pos && (data[i] == '+' || data[i] == '-')) {
        negative = data[i] == '-';
        ++i;
    }
    if (i == pos)
        return std::nullopt;
    qint64 magnitude = 0;
    for (; i < pos; ++i) {
        if (data[i] < '0' || data[i] > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (data[i] - '0');
        if (magnitude > qint64(1) << 31)
            return std::nullopt;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<qint32>::max() || value < std::numeric_limits<qint32>::min())
        return std::nullopt;
    return static_cast<qint32>(value);
}

QByteArray NumberRule::readRestOfLine()
{
    const qsizetype start = pos;
    while (pos < end && data[pos] != '\r' && data[pos] != '\n')
        ++pos;
    return data.sliced(start, pos - start).toByteArray();
}

void NumberRule::nextLine()
{
    // a line ends with CR LF, a lone CR or a lone LF
    while (pos < end && data[pos] != '\r' && data[pos] != '\n')
        ++pos;
    if (pos < end) {
        const char lineEnd = data[pos++];
        if (lineEnd == '\r' && pos < end && data[pos] == '\n')
            ++pos;
    }
}

} // namespace Fuzz
