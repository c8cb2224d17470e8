// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A content file under check starts with a line holding the decimal number S and then its body.
// The sum runs over every byte after the first L + 2 bytes, where L is the length of S written
// canonically (in a file in UTF-8, after its byte-order mark and the L + 2 bytes that follow it): the byte at
// body position p (counted from 1) is subtracted when p is a multiple of `divisor` and added otherwise, all
// modulo 2^32. Throws the input/output error of a missing or unreadable file and "Invalid numeric input" for
// a first item that is not a number.
qint32 FileChecksum(const QString& fileName, quint8 divisor);

// The number S in the first line of the file (leading blanks and line ends skipped; an empty file
// reads as 0). Throws like FileChecksum.
qint32 ReadChecksumLine(const QString& fileName);

// The divisor of the content files' checksums.
inline constexpr quint8 ContentChecksumDivisor = 3;

// The stored number and the computed sum of one file, from a single read of it.
struct ChecksumCheck
{
    qint32 stored = 0;
    qint32 computed = 0;
    // Nothing after the checksum line: a content file without content never passes.
    bool emptyBody = true;
    bool matches() const { return !emptyBody && stored == computed; }
};
ChecksumCheck CheckFileChecksum(const QString& fileName, quint8 divisor);

// The weighted sum of `body` alone, as FileChecksum counts it.
qint32 BodyChecksum(QByteArrayView body, quint8 divisor);
