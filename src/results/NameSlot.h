// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// A name in a slot of the results file: a length byte and 25 bytes of single-byte text (Latin-1).
// A name of Latin-1 characters is stored as it always was. A name with other characters ("Dvořák")
// keeps a Latin-1 look-alike of each of them in its used bytes ("Dvorák"), which every reader
// shows, and the characters themselves in the slot's unused bytes, which readers ignore: a DEL
// byte, then for each such character its place (1 for the first) and its UTF-8 bytes. Such a name
// reads back exactly as long as everything fits into the 25 bytes.
namespace NameSlot {

inline constexpr int Capacity = 25;
inline constexpr int SlotSize = Capacity + 1;

// The slot's 26 bytes for `name`, cut to its first 25 characters. When the name does not fit whole,
// its first characters beyond Latin-1 are kept exactly as far as room allows, the others only as
// their look-alikes.
QByteArray encode(const QString& name);
// The name in a slot (26 bytes); a length byte above 25 counts as 25.
QString decode(QByteArrayView slot);
// The bytes of the slot that make up its name (after the length byte): the used ones, and the
// whole rest when it carries characters beyond Latin-1. Two slots with equal such bytes hold the
// same name.
qsizetype significantBytes(QByteArrayView slot);

// The name cut to 25 characters as the results file keeps it.
QString cut(const QString& name);
// Whether the name, cut to 25 characters, reads back exactly.
bool fits(const QString& name);
// The characters of the cut name that are not Latin-1 and so take more room, each once.
QStringList charactersBeyondLatin1(const QString& name);

} // namespace NameSlot
