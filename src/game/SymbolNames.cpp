#include "game/SymbolNames.h"

#include "content/ContentFiles.h"
#include "content/Language.h"
#include "content/NumberedText.h"
#include "game/CellItem.h"
#include "results/AnswerStore.h"

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

SymbolNames::SymbolNames(int kind)
{
    // the picture library's text file names the sheet's special instructions and the whole lines:
    // read once for both
    std::optional<QList<QPair<qint32, QString>>> libraryLines;
    const Library library = [&libraryLines]() -> const QList<QPair<qint32, QString>>& {
        if (!libraryLines)
            libraryLines = symbolLines(ContentFileName(ContentFiles::LibraryTextsBase));
        return *libraryLines;
    };
    for (quint8 k = 0; k < SymbolKind::Count; ++k) {
        if (kind < 0 || kind == k)
            read(k, library);
    }
}

void SymbolNames::read(quint8 kind, const Library& library)
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
    default:
        texts = symbolLines(ContentFileName(ContentFiles::SymbolsBase));
        break;
    }
    for (const auto& [value, text] : std::as_const(texts)) {
        if (m_names[kind].contains(value))
            continue;
        m_symbols[kind].append(value);
        m_names[kind].insert(value, text);
    }
}

const QList<qint32>& SymbolNames::symbols(quint8 kind) const
{
    return m_symbols[kind < SymbolKind::Count ? kind : 0];
}

QString SymbolNames::name(quint8 kind, qint32 value) const
{
    const QString name = ownName(kind, value);
    return name.isEmpty() ? QString::number(value) : name;
}

QString SymbolNames::ownName(quint8 kind, qint32 value) const
{
    return kind < SymbolKind::Count ? m_names[kind].value(value) : QString();
}
