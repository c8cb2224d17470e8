// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/ResultRecord.h"

#include <QByteArray>
#include <QList>

class QFile;
#include <iterator>
#include <memory>
#include <vector>

// The results of one test, best first, as a list of records. Ranked from the results file it keeps
// the file open and only the places of its records, in ranked order: a record is read and decoded
// when it is first asked for, so that a million results cost four bytes each and showing them reads
// only the rows shown. The file open is the one that was ranked, even when the results file has
// been replaced since (a trim, another copy of the program); a record that can no longer be read
// (the file cut short by another program) reads as an empty one. Copies share the records.
class RankedResults
{
public:
    // Ranking orders by this key: errors (sign bit flipped, so that unsigned order is signed order)
    // above the time within the hour in whole milliseconds (hours do not count), which takes the
    // low 22 bits.
    static quint64 rankKey(qint32 errors, double time);
    // The stable order of `keys` (the indexes into it, smallest key first; equal keys keep their
    // order).
    static std::vector<quint32> stableOrder(const std::vector<quint64>& keys);

    RankedResults() = default;
    // Records already ranked, decoded.
    explicit RankedResults(QList<TResultRecord> ranked);
    // Ranks the records of the open results file `file` whose numbers (0 for the file's first
    // record) are `records`, with their keys, in file order.
    static RankedResults rank(std::shared_ptr<QFile> file, const std::vector<quint32>& records,
                              const std::vector<quint64>& keys);

    qsizetype size() const { return m_size; }
    qsizetype count() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }

    // Record `i`, decoded on first use; the reference stays valid as long as a copy of this list
    // does.
    const TResultRecord& at(qsizetype i) const;
    const TResultRecord& operator[](qsizetype i) const { return at(i); }
    const TResultRecord& first() const { return at(0); }
    const TResultRecord& last() const { return at(m_size - 1); }
    const TResultRecord& constFirst() const { return first(); }
    const TResultRecord& constLast() const { return last(); }
    // The last record with the errors, the exact time and the player's name (as stored) of `record`;
    // -1 when there is none.
    qsizetype lastMatching(const TResultRecord& record) const;

    // Keeps the first `count` records.
    void truncate(qsizetype count);
    void clear() { *this = RankedResults(); }
    QList<TResultRecord> toList() const;

    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = TResultRecord;
        using difference_type = qsizetype;
        using pointer = const TResultRecord*;
        using reference = const TResultRecord&;

        const_iterator() = default;
        const_iterator(const RankedResults* list, qsizetype i) : m_list(list), m_i(i) {}
        reference operator*() const { return m_list->at(m_i); }
        pointer operator->() const { return &m_list->at(m_i); }
        reference operator[](difference_type n) const { return m_list->at(m_i + n); }
        const_iterator& operator++() { return ++m_i, *this; }
        const_iterator operator++(int) { return {m_list, m_i++}; }
        const_iterator& operator--() { return --m_i, *this; }
        const_iterator operator--(int) { return {m_list, m_i--}; }
        const_iterator& operator+=(difference_type n) { return m_i += n, *this; }
        const_iterator& operator-=(difference_type n) { return m_i -= n, *this; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b)
        {
            return a.m_i - b.m_i;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.m_i == b.m_i; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.m_i <=> b.m_i; }

    private:
        const RankedResults* m_list = nullptr;
        qsizetype m_i = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, m_size}; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

private:
    struct Data;

    std::shared_ptr<Data> m_data;
    qsizetype m_size = 0;
};
