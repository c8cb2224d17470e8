#pragma once

#include <QString>

// Installs a font file for this process and removes it again.
namespace FontRegistry {
// Returns an id for remove(), or -1 when the file could not be registered (ignored by callers).
int add(const QString& fileName);
void remove(int id);
} // namespace FontRegistry
