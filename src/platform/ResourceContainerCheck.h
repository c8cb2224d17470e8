// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

// The structure check of a binary resource container (the format `rcc -binary` writes), made
// before Qt is given the bytes: Qt's resource registration and every later lookup trust each offset
// in them. A container passes when everything Qt can read while registering it, looking names up
// in it, listing its folders and reading its files lies inside the bytes.
//
// The layout, all numbers big-endian:
//   header  "qres", version (1 to 3), offsets of the tree, the data and the names from the start of
//           the container; version 3 adds the flags of the compressions the container uses
//   tree    nodes of 14 bytes (22 from version 2 on, a time stamp added), node 0 the root folder:
//           name offset (4), flags (2), then for a folder the number of children (4) and the index
//           of the first (4), for a file two locale numbers (2 + 2) and its data offset (4)
//   names   length in characters (2), hash (4), UTF-16 characters
//   data    size (4) and bytes; a zlib-compressed file starts with its unpacked size (4), a
//           zstd-compressed one is a zstd frame
namespace ResourceContainerCheck {

enum class Verdict {
    Sound,
    // No container at all: it lacks the container's magic.
    NotContainer,
    // A container whose structure does not hold.
    Damaged,
};

struct Result
{
    Verdict verdict = Verdict::Sound;
    // What is wrong with a damaged container, in a few words; nullptr otherwise.
    const char* fault = nullptr;
};

// A compressed file may unpack to at most this many bytes: Qt reserves what the file claims before
// it unpacks, and our largest picture unpacks to a few hundred kilobytes.
inline constexpr qint64 MaxUnpackedSize = qint64(64) << 20;
// Qt computes offsets in the container with 32-bit signed numbers.
inline constexpr qint64 MaxContainerSize = 0x7fffffff;

Result check(QByteArrayView bytes);
// Whether the bytes start with the container's magic.
bool hasMagic(QByteArrayView bytes);

} // namespace ResourceContainerCheck
