// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/SymbolNotation.h"
#include "domain/SymbolKind.h"

#include <QString>
#include <memory>

// The number a coach writes for a symbol of any kind: a description symbol's IOF notation (1.3,
// 12.1:NE; a special instruction its number), a map symbol's ISOM number (204, 105.2) and a whole
// line's number.
class SymbolNumbers
{
public:
    // Reads the notation table of the working directory; without it the description symbols are
    // written as their character codes.
    SymbolNumbers();
    ~SymbolNumbers();
    SymbolNumbers(const SymbolNumbers&) = delete;
    SymbolNumbers& operator=(const SymbolNumbers&) = delete;

    QString of(SymbolKind kind, qint32 value) const;

    // ISOM numbers the revised symbols 105.2 and 203.2; the texts number them 1052 and 2032.
    static QString isomNumber(qint32 value);

private:
    std::unique_ptr<SymbolNotation> m_notation;
};
