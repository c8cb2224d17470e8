// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// How a course setter's event file names a description symbol: by its number in the 2004 edition
// of the control descriptions, a directional symbol with its compass point ("11.1NW"). Files of
// either standard use these ids; a 2018 file draws them as the 2018 edition does. Each id stands
// for one of our symbols, written as SymbolNotation writes it, or for one of our special
// instructions (990 to 999).
namespace CourseSymbolIds {

struct Target
{
    // Our notation of a symbol of columns C to H ("12.1:NW"); empty for a special instruction.
    QString notation;
    // The special instruction drawn across a row (990 to 999); 0 for a symbol.
    qint32 instruction = 0;
};

// Our symbol or instruction for the id `id` (letter case and blanks ignored); nothing for an id
// the table does not have (the 2004 "Radio or TV control", a directional symbol without its
// compass point, a made-up id).
std::optional<Target> lookUp(const QString& id);

// Every id the table knows, directional ones with each compass point.
QStringList allIds();

} // namespace CourseSymbolIds
