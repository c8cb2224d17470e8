// SPDX-License-Identifier: GPL-3.0-or-later
// The checksum header (ReadChecksumLine, FileChecksum) on a file written from the input, against
// the rule computed here: the first number S, then the weighted sum of every byte after the first
// L + 2 bytes (L: the length of S written canonically), byte p of the body subtracted when p is a
// multiple of the divisor and added otherwise, modulo 2^32.
#include "FuzzSupport.h"
#include "content/Checksum.h"
#include "platform/AppError.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

namespace {

const QString FileName = QStringLiteral("Stamped.eng");

quint32 expectedSum(QByteArrayView all, qint32 stored, quint8 divisor)
{
    const qsizetype mark = all.startsWith(QByteArrayView("\xEF\xBB\xBF", 3)) ? 3 : 0;
    const qsizetype start = mark + QByteArray::number(stored).size() + 2;
    quint32 sum = 0;
    for (qsizetype i = start; i < all.size(); ++i) {
        const qsizetype p = i - start + 1;
        const auto byte = static_cast<quint32>(static_cast<unsigned char>(all[i]));
        if (divisor != 0 && p % divisor == 0)
            sum -= byte;
        else
            sum += byte;
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte is the divisor (0 and 1 have paths of their own, 3 is the program's).
    const quint8 divisor = data[0];
    const QByteArrayView file = Fuzz::bytes(data + 1, size - 1);
    Fuzz::writeFile(FileName, file);

    Fuzz::NumberRule rule(file);
    const std::optional<qint32> stored = rule.readNumber(false);

    std::optional<qint32> line;
    std::optional<qint32> sum;
    try {
        line = ReadChecksumLine(FileName);
    } catch (const AppError&) {
        line.reset();
    }
    try {
        sum = FileChecksum(FileName, divisor);
    } catch (const AppError&) {
        sum.reset();
    }
    Fuzz::check(line == stored, "ReadChecksumLine differs from the number rule");
    Fuzz::check(sum.has_value() == stored.has_value(), "FileChecksum refuses another set of files");
    if (sum)
        Fuzz::check(static_cast<quint32>(*sum) == expectedSum(file, *stored, divisor),
                    "FileChecksum differs from the weighted sum");
    return 0;
}
