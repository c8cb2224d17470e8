// SPDX-License-Identifier: GPL-3.0-or-later
// The number tokenizer of the content files (TextReader) against the rule written down in
// FuzzSupport: the same numbers, the same refusals, the same positions, the same lines.
#include "FuzzSupport.h"
#include "content/TextReader.h"
#include "platform/AppError.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

namespace {

// Reads one number with both and compares; false when the token was refused.
bool compareNumber(TextReader& reader, Fuzz::NumberRule& rule, bool itemLine)
{
    const std::optional<qint32> expected = rule.readNumber(itemLine);
    std::optional<qint32> got;
    try {
        got = reader.readNumber(itemLine);
    } catch (const AppError&) {
        got.reset();
    }
    Fuzz::check(got == expected, "readNumber differs from the number rule");
    Fuzz::check(reader.position() == rule.pos, "readNumber stops at another position");
    return got.has_value();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses item-line tokens for the first pass; the rest is the text.
    const bool itemLine = data[0] & 1;
    const QByteArrayView text = Fuzz::bytes(data + 1, size - 1);

    // Numbers one after another, as a catalogue's item line or the checksum line reads them.
    {
        TextReader reader(text);
        Fuzz::NumberRule rule(text);
        while (!rule.atEnd()) {
            Fuzz::check(!reader.atEnd(), "the reader ends early");
            const qsizetype before = rule.pos;
            if (!compareNumber(reader, rule, itemLine) && rule.pos == before) {
                // An empty token ('{' right away in an item line) is refused where it stands; the
                // catalogue reader gives up there, this loop steps over it.
                reader.readChar();
                ++rule.pos;
            }
        }
        Fuzz::check(reader.atEnd(), "the reader does not end with the text");
        Fuzz::check(reader.readNumber(itemLine) == 0, "a number at the end of the text is not 0");
    }

    // Numbered lines, as the numbered texts and the string table read them.
    {
        TextReader reader(text);
        Fuzz::NumberRule rule(text);
        while (!rule.atEnd()) {
            compareNumber(reader, rule, false);
            Fuzz::check(reader.readRestOfLine() == rule.readRestOfLine(), "readRestOfLine differs");
            Fuzz::check(reader.atLineEnd(), "not at a line end after readRestOfLine");
            reader.nextLine();
            rule.nextLine();
            Fuzz::check(reader.position() == rule.pos, "nextLine stops at another position");
        }
    }

    // Raw characters: the text after a byte-order mark up to the first character 26, then 26 for ever.
    {
        TextReader reader(text);
        Fuzz::NumberRule rule(text);
        for (qsizetype i = rule.pos; i < rule.end; ++i)
            Fuzz::check(reader.readChar() == text[i], "readChar differs from the text");
        Fuzz::check(reader.readChar() == 26 && reader.atEnd(), "readChar does not end with 26");
    }
    return 0;
}
