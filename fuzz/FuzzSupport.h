// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

// What the fuzz targets share: the process set up as the program runs (an application object on the
// offscreen platform, the built-in language, a working directory and settings store of their own,
// message boxes collected instead of shown), and an independent statement of the content files'
// number rule to check the readers against.
namespace Fuzz {

// Sets up the process once; called from LLVMFuzzerInitialize.
void initialise(int* argc, char*** argv);

// The input as bytes (no copy).
inline QByteArrayView bytes(const uint8_t* data, size_t size)
{
    return {reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)};
}

// Writes `bytes` as the file `name` in the working directory.
void writeFile(const QString& name, QByteArrayView bytes);
QByteArray readFile(const QString& name);

// Ends the run with a finding: libFuzzer saves the input.
[[noreturn]] void fail(const char* what);
inline void check(bool condition, const char* what)
{
    if (!condition)
        fail(what);
}

// The number rule of the content files, written down again independently of TextReader: the data
// ends at the first character 26 and starts after a UTF-8 byte-order mark (the text is then UTF-8,
// else Latin-1); lines end with CR LF, a lone CR or a lone LF; characters with codes up to 32 are skipped,
// then up to 32 characters up to the next one with a code up to 32 (in an item line also '{', '}' and ',')
// form the token, an optional sign and one or more decimal digits within the 32-bit range.
struct NumberRule
{
    QByteArrayView data;
    qsizetype pos = 0;
    qsizetype end = 0;

    explicit NumberRule(QByteArrayView d);
    bool atEnd() const { return pos >= end; }
    // The text is UTF-8: it starts with the byte-order mark.
    bool utf8() const;
    // The number, or nothing for a token that is not one (the position is then after the token).
    std::optional<qint32> readNumber(bool itemLine);
    QByteArray readRestOfLine();
    void nextLine();
};

} // namespace Fuzz
