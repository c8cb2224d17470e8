// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/SymbolNumbers.h"

#include "game/CellItem.h"
#include "platform/AppError.h"
#include "results/AnswerStore.h"

namespace {
constexpr qint32 FirstRevisedNumber = 1000;
} // namespace

SymbolNumbers::SymbolNumbers()
{
    try {
        m_notation = std::make_unique<SymbolNotation>();
    } catch (const AppError&) {
        // the character codes stand for the symbols
    }
}

SymbolNumbers::~SymbolNumbers() = default;

QString SymbolNumbers::of(SymbolKind kind, qint32 value) const
{
    if (kind == SymbolKind::MapSymbol)
        return isomNumber(value);
    if (kind == SymbolKind::Description && value < CellItem::FirstLibraryNumber && m_notation) {
        const QString written = m_notation->notation(value);
        if (!written.isEmpty())
            return written;
    }
    return QString::number(value);
}

QString SymbolNumbers::isomNumber(qint32 value)
{
    if (value < FirstRevisedNumber)
        return QString::number(value);
    return QString::number(value / 10) + QLatin1Char('.') + QString::number(value % 10);
}
