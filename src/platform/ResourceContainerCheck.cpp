// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ResourceContainerCheck.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <vector>

namespace ResourceContainerCheck {

namespace {

constexpr char Magic[] = {'q', 'r', 'e', 's'};
constexpr quint16 CompressedZlib = 0x01;
constexpr quint16 Folder = 0x02;
constexpr quint16 CompressedZstd = 0x04;
constexpr quint32 ZstdFrameMagic = 0xFD2FB528;

Result damaged(const char* fault)
{
    return {Verdict::Damaged, fault};
}

// The unpacked size that a zstd frame states, or -1 when the bytes are no zstd frame stating it
// (Qt takes the size from the frame's header and reserves that much before it unpacks).
qint64 zstdStatedSize(const uchar* frame, qint64 length)
{
    constexpr qint64 DescriptorAt = 4;
    if (length <= DescriptorAt || qFromLittleEndian<quint32>(frame) != ZstdFrameMagic)
        return -1;
    const uchar descriptor = frame[DescriptorAt];
    const bool singleSegment = descriptor & 0x20;
    const bool reservedBit = descriptor & 0x08;
    if (reservedBit)
        return -1;
    constexpr int DictionaryIdBytes[] = {0, 1, 2, 4};
    const qint64 sizeAt = DescriptorAt + 1 + (singleSegment ? 0 : 1) + DictionaryIdBytes[descriptor & 0x03];
    const int sizeField = descriptor >> 6;
    const int sizeBytes = sizeField == 0 ? (singleSegment ? 1 : 0) : 1 << sizeField;
    if (sizeBytes == 0 || length < sizeAt + sizeBytes)
        return -1;
    const uchar* size = frame + sizeAt;
    switch (sizeBytes) {
    case 1:
        return size[0];
    case 2:
        return qint64(qFromLittleEndian<quint16>(size)) + 256; // the two-byte field counts from 256
    case 4:
        return qFromLittleEndian<quint32>(size);
    default:
        return qint64(std::min<quint64>(qFromLittleEndian<quint64>(size), quint64(MaxUnpackedSize) + 1));
    }
}

class Checker
{
public:
    explicit Checker(QByteArrayView bytes)
        : m_bytes(reinterpret_cast<const uchar*>(bytes.data())), m_size(bytes.size())
    {}

    Result run();

private:
    // Whether `length` bytes from `at` lie inside the container.
    bool inside(qint64 at, qint64 length) const { return at >= 0 && length >= 0 && at <= m_size - length; }
    quint16 u16(qint64 at) const { return qFromBigEndian<quint16>(m_bytes + at); }
    quint32 u32(qint64 at) const { return qFromBigEndian<quint32>(m_bytes + at); }
    // Qt reads the offsets and counts of the tree as signed numbers.
    qint32 i32(qint64 at) const { return static_cast<qint32>(u32(at)); }

    const char* checkName(qint64 node) const;
    const char* checkFile(qint64 node, quint16 flags) const;

    const uchar* m_bytes;
    qint64 m_size;
    quint32 m_version = 0;
    quint32 m_compressions = 0;
    qint64 m_tree = 0;
    qint64 m_data = 0;
    qint64 m_names = 0;
    qint64 m_nodeSize = 0;
};

const char* Checker::checkName(qint64 node) const
{
    constexpr qint64 LengthAndHash = 6;
    const qint32 offset = i32(node);
    if (offset < 0 || !inside(m_names + offset, LengthAndHash))
        return "a name lies outside the container";
    const qint64 characters = u16(m_names + offset);
    if (!inside(m_names + offset + LengthAndHash, 2 * characters))
        return "a name lies outside the container";
    return nullptr;
}

const char* Checker::checkFile(qint64 node, quint16 flags) const
{
    const qint32 offset = i32(node + 10);
    const qint64 entry = m_data + offset;
    if (offset < 0 || !inside(entry, 4))
        return "a file's data lies outside the container";
    const qint64 length = u32(entry);
    const qint64 payload = entry + 4;
    if (!inside(payload, length))
        return "a file's data lies outside the container";
    if (m_version >= 3 && (flags & ~m_compressions) != 0)
        return "a file's compression is not named in the header";
    if (flags == CompressedZlib) {
        if (length < 4)
            return "a compressed file lacks its unpacked size";
        if (u32(payload) > MaxUnpackedSize)
            return "a compressed file claims too large an unpacked size";
    } else if (flags == CompressedZstd) {
        const qint64 stated = zstdStatedSize(m_bytes + payload, length);
        if (stated < 0)
            return "a compressed file does not state its unpacked size";
        if (stated > MaxUnpackedSize)
            return "a compressed file claims too large an unpacked size";
    }
    return nullptr;
}

Result Checker::run()
{
    if (m_size > MaxContainerSize)
        return damaged("larger than a container can be");
    constexpr qint64 VersionAt = 4;
    if (!inside(VersionAt, 4))
        return damaged("the header is cut short");
    m_version = u32(VersionAt);
    if (m_version < 1 || m_version > 3)
        return damaged("unknown format version");
    const qint64 headerSize = m_version >= 3 ? 24 : 20;
    if (m_size < headerSize)
        return damaged("the header is cut short");
    m_tree = u32(8);
    m_data = u32(12);
    m_names = u32(16);
    // Each part starts after the header and inside the container; where it ends is not stored, so
    // every read from it is checked against the end of the container.
    if (m_tree < headerSize || m_tree >= m_size)
        return damaged("the tree lies outside the container");
    if (m_data < headerSize || m_data >= m_size)
        return damaged("the data lie outside the container");
    if (m_names < headerSize || m_names >= m_size)
        return damaged("the names lie outside the container");
    if (m_version >= 3) {
        m_compressions = u32(20);
        if ((m_compressions & ~quint32(CompressedZlib | CompressedZstd)) != 0)
            return damaged("unknown compression in the header");
    }
    m_nodeSize = m_version >= 2 ? 22 : 14;
    const qint64 nodeCount = (m_size - m_tree) / m_nodeSize;
    if (nodeCount < 1 || u16(m_tree + 4) != Folder)
        return damaged("the root is not a folder");

    // Qt reaches a node only through the child range of a folder it reached, starting at the root,
    // so exactly those nodes are checked. A folder's children come after the folder itself (so the
    // tree has no cycles) and every node is checked once however many ranges cover it: a sweep over
    // the node indices, `starts` counting the ranges that open minus those that close at an index.
    std::vector<qint32> starts(2, 0);
    qint64 open = 0;
    qint64 end = 1;
    for (qint64 index = 0; index < end; ++index) {
        open += starts[index];
        if (index > 0 && open == 0)
            continue;
        const qint64 node = m_tree + index * m_nodeSize;
        const quint16 flags = u16(node + 4);
        if (index > 0) {
            if (const char* fault = checkName(node))
                return damaged(fault);
        }
        if (flags == Folder) {
            const qint32 count = i32(node + 6);
            const qint32 first = i32(node + 10);
            if (count < 0)
                return damaged("a folder's children lie outside the tree");
            if (count == 0)
                continue;
            if (first <= index || qint64(first) + count > nodeCount)
                return damaged("a folder's children lie outside the tree");
            const qint64 afterLast = qint64(first) + count;
            if (afterLast + 1 > qint64(starts.size()))
                starts.resize(afterLast + 1, 0);
            ++starts[first];
            --starts[afterLast];
            end = std::max(end, afterLast);
        } else if (flags == 0 || flags == CompressedZlib || flags == CompressedZstd) {
            if (const char* fault = checkFile(node, flags))
                return damaged(fault);
        } else {
            return damaged("a node has unknown flags");
        }
    }
    return {};
}

} // namespace

bool hasMagic(QByteArrayView bytes)
{
    return bytes.size() >= qsizetype(sizeof(Magic)) && std::memcmp(bytes.data(), Magic, sizeof(Magic)) == 0;
}

Result check(QByteArrayView bytes)
{
    if (!hasMagic(bytes))
        return {Verdict::NotContainer, nullptr};
    return Checker(bytes).run();
}

} // namespace ResourceContainerCheck
