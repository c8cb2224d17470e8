// SPDX-License-Identifier: GPL-3.0-or-later
// Numbered texts (ReadNumberedText) on a file written from the input: the text of a number is
// the rest of the first line with that number, as the number rule reads the lines.
#include "FuzzSupport.h"
#include "content/NumberedText.h"
#include "content/TextReader.h"
#include "platform/AppError.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

namespace {

const QString FileName = QStringLiteral("Numbered.eng");

// The expected text of `number`: nothing when a line before it does not start with a number.
std::optional<QString> expectedText(QByteArrayView text, qint32 number)
{
    Fuzz::NumberRule rule(text);
    while (!rule.atEnd()) {
        const std::optional<qint32> n = rule.readNumber(false);
        if (!n)
            return std::nullopt;
        const QByteArray line = rule.readRestOfLine();
        rule.nextLine();
        if (*n == number) {
            const QByteArrayView rest = QByteArrayView(line).sliced(line.isEmpty() ? 0 : 1);
            return rule.utf8() ? QString::fromUtf8(rest) : QString::fromLatin1(rest);
        }
    }
    return QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte is the number looked up (-128 .. 127, small so that the text may hold it).
    const qint32 number = static_cast<qint8>(data[0]);
    const QByteArrayView text = Fuzz::bytes(data + 1, size - 1);
    Fuzz::writeFile(FileName, text);

    std::optional<QString> got;
    try {
        got = ReadNumberedText(FileName, number);
    } catch (const AppError&) {
        got.reset();
    }
    Fuzz::check(got == expectedText(text, number), "ReadNumberedText differs from the number rule");
    return 0;
}
