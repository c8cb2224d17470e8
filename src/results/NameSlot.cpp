// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/NameSlot.h"

#include <QList>
#include <algorithm>
#include <utility>

namespace {

// Starts the characters beyond Latin-1 in the unused bytes; no reader ever wrote it there.
constexpr char Marker = '\x7f';
constexpr char32_t LastLatin1 = 0xFF;
// Shown by other readers for a character without a look-alike.
constexpr char NoLookAlike = '_';

bool printableLatin1(char32_t c)
{
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= LastLatin1);
}

// The Latin-1 character a reader that knows nothing of the tail shows in place of `c`: its base
// letter (ř as r, ő as o), or for the letters without one the letter they are written on.
char lookAlike(char32_t c)
{
    static constexpr std::pair<char32_t, char> Plain[] = {
        {0x0110, 'D'}, {0x0111, 'd'}, {0x0126, 'H'}, {0x0127, 'h'}, {0x0131, 'i'},
        {0x0138, 'k'}, {0x0141, 'L'}, {0x0142, 'l'}, {0x014A, 'N'}, {0x014B, 'n'},
        {0x0152, 'O'}, {0x0153, 'o'}, {0x0166, 'T'}, {0x0167, 't'}, {0x0192, 'f'}};
    for (const auto& [letter, plain] : Plain) {
        if (letter == c)
            return plain;
    }
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    if (!decomposed.isEmpty() && printableLatin1(decomposed.front().unicode()))
        return static_cast<char>(decomposed.front().unicode());
    return NoLookAlike;
}

QByteArray utf8(char32_t c)
{
    return QString::fromUcs4(&c, 1).toUtf8();
}

// The code point of the UTF-8 sequence at `bytes`, with its length; 0 when the bytes are no
// complete, shortest sequence of a character beyond Latin-1.
std::pair<char32_t, int> readUtf8(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {0, 0};
    const auto lead = static_cast<uchar>(bytes[0]);
    int length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0 || length > bytes.size())
        return {0, 0};
    char32_t c = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<uchar>(bytes[i]);
        if ((next & 0xC0) != 0x80)
            return {0, 0};
        c = c << 6 | (next & 0x3F);
    }
    static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c <= LastLatin1 || c < Smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {0, 0};
    return {c, length};
}

int usedLength(QByteArrayView slot)
{
    return std::min<int>(static_cast<uchar>(slot[0]), NameSlot::Capacity);
}

// The characters beyond Latin-1 that the unused bytes carry, by their place among the used ones;
// none when they carry something else.
QList<std::pair<int, char32_t>> readTail(QByteArrayView slot)
{
    const int used = usedLength(slot);
    qsizetype at = 1 + used;
    if (at >= NameSlot::SlotSize || slot[at] != Marker)
        return {};
    QList<std::pair<int, char32_t>> characters;
    ++at;
    while (at < NameSlot::SlotSize && slot[at] != 0) {
        const int place = static_cast<uchar>(slot[at]) - 1;
        if (place >= used || (!characters.isEmpty() && place <= characters.back().first))
            return {};
        const auto [c, length] = readUtf8(slot.sliced(at + 1, NameSlot::SlotSize - at - 1));
        if (length == 0)
            return {};
        characters.append({place, c});
        at += 1 + length;
    }
    return characters;
}

} // namespace

namespace NameSlot {

QString cut(const QString& name)
{
    qsizetype end = 0;
    for (int characters = 0; end < name.size() && characters < Capacity; ++characters) {
        const bool pair =
            name[end].isHighSurrogate() && end + 1 < name.size() && name[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return name.left(end);
}

QByteArray encode(const QString& name)
{
    const QList<uint> characters = cut(name).toUcs4();
    QByteArray slot(SlotSize, '\0');
    slot[0] = static_cast<char>(characters.size());
    QByteArray tail;
    bool room = true;
    for (int i = 0; i < characters.size(); ++i) {
        const char32_t c = characters[i];
        if (c <= LastLatin1) {
            slot[1 + i] = static_cast<char>(c);
            continue;
        }
        slot[1 + i] = lookAlike(c);
        const QByteArray entry = char(i + 1) + utf8(c);
        const qsizetype needed = (tail.isEmpty() ? 1 : 0) + entry.size();
        room = room && characters.size() + tail.size() + needed <= Capacity;
        if (room) {
            if (tail.isEmpty())
                tail += Marker;
            tail += entry;
        }
    }
    std::copy(tail.cbegin(), tail.cend(), slot.begin() + 1 + characters.size());
    return slot;
}

QString decode(QByteArrayView slot)
{
    const int used = usedLength(slot);
    const QByteArrayView shown = slot.sliced(1, used);
    const QList<std::pair<int, char32_t>> beyond = readTail(slot);
    if (beyond.isEmpty())
        return QString::fromLatin1(shown);
    QString name;
    name.reserve(used + beyond.size());
    qsizetype next = 0;
    for (int i = 0; i < used; ++i) {
        if (next < beyond.size() && beyond[next].first == i)
            name += QString::fromUcs4(&beyond[next++].second, 1);
        else
            name += QLatin1Char(shown[i]);
    }
    return name;
}

qsizetype significantBytes(QByteArrayView slot)
{
    const int used = usedLength(slot);
    return used < Capacity && slot[1 + used] == Marker ? Capacity : used;
}

bool fits(const QString& name)
{
    const QString kept = cut(name);
    return decode(encode(kept)) == kept;
}

QStringList charactersBeyondLatin1(const QString& name)
{
    QStringList found;
    for (const uint c : cut(name).toUcs4()) {
        const auto code = static_cast<char32_t>(c);
        const QString character = QString::fromUcs4(&code, 1);
        if (c > LastLatin1 && !found.contains(character))
            found << character;
    }
    return found;
}

} // namespace NameSlot
