// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/SymbolNames.h"

#include "content/ContentFiles.h"
#include "content/Language.h"
#include "content/NumberedText.h"
#include "game/CellItem.h"

#include <optional>

namespace {

// The numbered lines of a content file; its first line is the checksum, no symbol.
QList<QPair<qint32, QString>> symbolLines(const QString& fileName)
{
    QList<QPair<qint32, QString>> lines = ReadNumberedTexts(fileName);
    if (!lines.isEmpty())
        lines.removeFirst();
    return lines;
}
} // namespace

SymbolNames::SymbolNames(std::optional<SymbolKind> kind)
{
    // the picture library's text file names the sheet's special instructions and the whole lines:
    // read once for both
    std::optional<QList<QPair<qint32, QString>>> libraryLines;
    const Library library = [&libraryLines]() -> const QList<QPair<qint32, QString>>& {
        if (!libraryLines)
            libraryLines = symbolLines(ContentFileName(ContentFiles::LibraryTextsBase));
        return *libraryLines;
    };
    for (const SymbolKind k : AllSymbolKinds) {
        if (!kind || *kind == k)
            read(k, library);
    }
}

void SymbolNames::read(SymbolKind kind, const Library& library)
{
    QList<QPair<qint32, QString>> texts;
    switch (kind) {
    case SymbolKind::Description:
        texts = symbolLines(ContentFileName(ContentFiles::LegendsBase));
        for (const auto& t : library()) {
            if (t.first >= CellItem::FirstLibraryNumber && t.first < FirstLineNumber)
                texts.append(t);
        }
        break;
    case SymbolKind::Line:
        for (const auto& t : library()) {
            if (t.first >= FirstLineNumber)
                texts.append(t);
        }
        break;
    case SymbolKind::MapSymbol:
        texts = symbolLines(ContentFileName(ContentFiles::SymbolsBase));
        break;
    }
    for (const auto& [value, text] : std::as_const(texts)) {
        if (m_names[toInt(kind)].contains(value))
            continue;
        m_symbols[toInt(kind)].append(value);
        m_names[toInt(kind)].insert(value, text);
    }
}

const QList<qint32>& SymbolNames::symbols(SymbolKind kind) const
{
    return m_symbols[isSymbolKind(toInt(kind)) ? toInt(kind) : 0];
}

QString SymbolNames::name(SymbolKind kind, qint32 value) const
{
    const QString name = ownName(kind, value);
    return name.isEmpty() ? QString::number(value) : name;
}

QString SymbolNames::ownName(SymbolKind kind, qint32 value) const
{
    return isSymbolKind(toInt(kind)) ? m_names[toInt(kind)].value(value) : QString();
}
