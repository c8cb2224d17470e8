// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <optional>

// The symbols of each kind and their names in the active language: description symbols are the
// numbers of "Legends." + code with the special instructions of the picture library's text file
// (990 to 999), whole lines its numbers from 1000 on, and map symbols the numbers of "Symbols." + code
// (each file's first line, its checksum, names no symbol).
class SymbolNames
{
public:
    // Reads the text files of one kind (or of every kind); a missing file gives no symbols.
    explicit SymbolNames(std::optional<SymbolKind> kind = {});
    // Names no symbol: every name is the symbol's number.
    static SymbolNames none() { return SymbolNames(NoKind{}); }

    // Every symbol of the kind, in the files' order.
    const QList<qint32>& symbols(SymbolKind kind) const;
    // The name of a symbol; its number when the files have none.
    QString name(SymbolKind kind, qint32 value) const;
    // The name the files give the symbol; empty when they give none.
    QString ownName(SymbolKind kind, qint32 value) const;

    // The first number of a whole line in the picture library's text file.
    static constexpr qint32 FirstLineNumber = 1000;

private:
    struct NoKind
    {};
    explicit SymbolNames(NoKind) {}
    using Library = std::function<const QList<QPair<qint32, QString>>&()>;
    void read(SymbolKind kind, const Library& library);

    QList<qint32> m_symbols[SymbolKindCount];
    QHash<qint32, QString> m_names[SymbolKindCount];
};
