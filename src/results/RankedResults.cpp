// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/RankedResults.h"

#include "platform/Clock.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>
#include <utility>

namespace {

// Decoded records are kept in chunks of this many, made when one of their records is asked for.
constexpr qsizetype ChunkSize = 256;
using Chunk = std::array<std::optional<TResultRecord>, ChunkSize>;

} // namespace

struct RankedResults::Data
{
    // The results file ranked and the numbers of its records, best first.
    std::shared_ptr<QFile> file;
    std::vector<quint32> records;
    // The records, when they were given decoded.
    QList<TResultRecord> decoded;
    // The records of the file decoded so far, by rank.
    std::vector<std::unique_ptr<Chunk>> chunks;

    TResultRecord read(quint32 record) const
    {
        char bytes[TResultRecord::RecordSize];
        if (!file->seek(qint64(record) * TResultRecord::RecordSize) ||
            file->read(bytes, TResultRecord::RecordSize) != TResultRecord::RecordSize)
            return {};
        return TResultRecord::decode(QByteArrayView(bytes, TResultRecord::RecordSize));
    }
};

quint64 RankedResults::rankKey(qint32 errors, double time)
{
    // the minutes, seconds and milliseconds of the hour of the milliseconds of the day that
    // splitTimeOfDay splits, worked out here without its divisions (a million times on a load)
    constexpr qint64 MsPerHour = 3600000;
    qint64 timeInHour = 0;
    if (std::isfinite(time)) {
        const double fraction = std::fabs(time - std::trunc(time));
        timeInHour = std::llround(fraction * MsPerDay) % static_cast<qint64>(MsPerDay) % MsPerHour;
    }
    // 22 bits hold the time within the hour (below 3 600 000)
    return quint64(quint32(errors) ^ 0x80000000u) << 22 | quint64(timeInHour);
}

namespace {

// A least-significant-digit radix sort of (key, index) entries, which is stable, on the bits below
// `bits` (the keys agree above them). All digits are counted in one pass; digits in which every key
// agrees are skipped.
template <typename Key> std::vector<quint32> radixOrder(const std::vector<quint64>& keys, int bits)
{
    struct Entry
    {
        Key key;
        quint32 index;
    };
    const size_t count = keys.size();
    std::vector<Entry> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = {Key(keys[i]), quint32(i)};
    // as few passes as digits of at most 13 bits allow; 8192 counters stay in the cache
    constexpr int LongestDigit = 13;
    const int passes = (bits + LongestDigit - 1) / LongestDigit;
    const int digitBits = passes > 0 ? (bits + passes - 1) / passes : 0;
    const Key mask = (Key(1) << digitBits) - 1;
    std::vector<std::vector<quint32>> counts(size_t(passes), std::vector<quint32>(size_t(mask) + 1));
    for (const Entry& entry : order) {
        for (int p = 0; p < passes; ++p)
            ++counts[size_t(p)][(entry.key >> (p * digitBits)) & mask];
    }
    std::vector<Entry> scratch(passes > 0 ? count : 0);
    for (int p = 0; p < passes; ++p) {
        std::vector<quint32>& digitCounts = counts[size_t(p)];
        if (std::find(digitCounts.begin(), digitCounts.end(), quint32(count)) != digitCounts.end())
            continue;
        quint32 start = 0;
        for (quint32& c : digitCounts)
            start += std::exchange(c, start);
        const int shift = p * digitBits;
        for (const Entry& entry : order)
            scratch[digitCounts[(entry.key >> shift) & mask]++] = entry;
        order.swap(scratch);
    }
    std::vector<quint32> indexes(count);
    for (size_t i = 0; i < count; ++i)
        indexes[i] = order[i].index;
    return indexes;
}

} // namespace

std::vector<quint32> RankedResults::stableOrder(const std::vector<quint64>& keys)
{
    // Only the bits in which keys differ are sorted on: usually the time within the hour and the
    // first few bits of the errors, which fit into 32 bits and entries half the size.
    if (keys.empty())
        return {};
    quint64 differing = 0;
    for (const quint64 key : keys)
        differing |= key ^ keys.front();
    const int bits = 64 - std::countl_zero(differing);
    if (bits <= 32) {
        // the keys agree above the 32 bits, which alone order them
        return radixOrder<quint32>(keys, bits);
    }
    return radixOrder<quint64>(keys, bits);
}

RankedResults::RankedResults(QList<TResultRecord> ranked)
    : m_data(std::make_shared<Data>()), m_size(ranked.size())
{
    m_data->decoded = std::move(ranked);
}

RankedResults RankedResults::rank(std::shared_ptr<QFile> file, const std::vector<quint32>& records,
                                  const std::vector<quint64>& keys)
{
    RankedResults result;
    result.m_data = std::make_shared<Data>();
    result.m_size = qsizetype(records.size());
    Data& data = *result.m_data;
    data.file = std::move(file);
    data.records.resize(records.size());
    const std::vector<quint32> order = stableOrder(keys);
    for (size_t i = 0; i < order.size(); ++i)
        data.records[i] = records[order[i]];
    return result;
}

const TResultRecord& RankedResults::at(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i < m_size);
    Data& data = *m_data;
    if (!data.file)
        return data.decoded.at(i);
    if (data.chunks.empty())
        data.chunks.resize((data.records.size() + ChunkSize - 1) / ChunkSize);
    std::unique_ptr<Chunk>& chunk = data.chunks[size_t(i / ChunkSize)];
    if (!chunk)
        chunk = std::make_unique<Chunk>();
    std::optional<TResultRecord>& record = (*chunk)[size_t(i % ChunkSize)];
    if (!record)
        record = data.read(data.records[size_t(i)]);
    return *record;
}

qsizetype RankedResults::lastMatching(const TResultRecord& record) const
{
    const auto matches = [&](qsizetype i) {
        const TResultRecord& r = at(i);
        return r.Errors == record.Errors && r.Time == record.Time && r.PlayerName == record.PlayerName;
    };
    if (!m_data || !m_data->file) {
        for (qsizetype i = m_size - 1; i >= 0; --i) {
            if (matches(i))
                return i;
        }
        return -1;
    }
    // Ranked here: the keys ascend, and only the records of the record's own key can match.
    const quint64 key = rankKey(record.Errors, record.Time);
    const auto keyAt = [this](qsizetype i) { return rankKey(at(i).Errors, at(i).Time); };
    qsizetype low = 0;
    qsizetype high = m_size;
    while (low < high) {
        const qsizetype middle = low + (high - low) / 2;
        if (keyAt(middle) <= key)
            low = middle + 1;
        else
            high = middle;
    }
    for (qsizetype i = low - 1; i >= 0 && keyAt(i) == key; --i) {
        if (matches(i))
            return i;
    }
    return -1;
}

void RankedResults::truncate(qsizetype count)
{
    m_size = std::clamp<qsizetype>(count, 0, m_size);
    if (m_size == 0)
        m_data.reset();
}

QList<TResultRecord> RankedResults::toList() const
{
    if (m_data && !m_data->file && m_size == m_data->decoded.size())
        return m_data->decoded;
    QList<TResultRecord> list;
    list.reserve(m_size);
    for (qsizetype i = 0; i < m_size; ++i)
        list.append(at(i));
    return list;
}
