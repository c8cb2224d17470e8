// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class QFont;

// Installs a font file for this process and removes it again.
namespace FontRegistry {
// Returns an id for remove(), or -1 when the file could not be registered.
int add(const QString& fileName);
void remove(int id);
// The file (absolute path) that an add() installed the family from; empty for other families.
QString fileOfFamily(const QString& family);
// The absolute path of the font file `fileName` that `family` is installed from, installing it
// first when no add() did. Throws "File not found" or "The font could not be installed" naming
// the file.
QString requireFamily(const QString& fileName, const QString& family);

// The character codes among `codes` that `font` cannot draw from its own glyphs: all of them
// when the font's family is not installed (another font would stand in).
QList<uint> missingGlyphs(const QFont& font, const QList<uint>& codes);
} // namespace FontRegistry
