// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/QuizContent.h"

#include "content/Language.h"
#include "content/NumberedText.h"
#include "game/CellItem.h"
#include "game/SymbolNames.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "results/AnswerStore.h"

namespace {

// The explanation files of the kinds have fixed bases.
const QString LegendsAddBase = QStringLiteral("LegendsAdd.");
const QString SymbolsAddBase = QStringLiteral("SymbolsAdd.");
const QString LibraryAddBase = QStringLiteral("Bitm1Add.");
// Look-alikes come from this many of a kind's most frequent confusions, as for the drill.
constexpr int ConfusionsLookedAt = 500;

QHash<qint32, QString> explanations(const QString& base)
{
    QHash<qint32, QString> texts;
    for (const auto& [value, text] : ReadNumberedTexts(ContentFileName(base)))
        texts.insert(value, text);
    return texts;
}

bool validKind(SymbolKind kind)
{
    return isSymbolKind(toInt(kind));
}

} // namespace

QuizContent QuizContent::load(const AnswerStore* store)
{
    QuizContent content;
    const SymbolNames names;
    const QHash<qint32, QString> legends = explanations(LegendsAddBase);
    const QHash<qint32, QString> library = explanations(LibraryAddBase);
    const QHash<qint32, QString> maps = explanations(SymbolsAddBase);
    for (const SymbolKind kind : AllSymbolKinds) {
        for (const qint32 value : names.symbols(kind)) {
            QString explanation;
            if (kind == SymbolKind::MapSymbol)
                explanation = maps.value(value);
            else if (kind == SymbolKind::Line || value >= CellItem::FirstLibraryNumber)
                explanation = library.value(value);
            else
                explanation = legends.value(value);
            // a missing name is no name to answer with
            content.addSymbol(kind, value, names.ownName(kind, value), explanation);
        }
    }
    try {
        content.setRelations(SymbolRelations::read());
    } catch (const AppError& error) {
        // a damaged table of relations is named; the quiz still asks, its look-alikes from the names
        MessageBoxes::showError(error);
    }
    if (store && store->isOpen()) {
        try {
            for (const SymbolKind kind : AllSymbolKinds) {
                for (const Confusion& c : store->confusions(kind, ConfusionsLookedAt))
                    content.addConfusion(kind, c.target, c.pressed, c.count);
            }
        } catch (const AppError&) {
            // without the learner's confusions the look-alikes come from the content alone
        }
    }
    return content;
}

void QuizContent::addSymbol(SymbolKind kind, qint32 value, const QString& name, const QString& explanation)
{
    if (!validKind(kind) || m_texts[toInt(kind)].contains(value))
        return;
    m_symbols[toInt(kind)].append(value);
    m_texts[toInt(kind)].insert(value, {name, explanation});
}

void QuizContent::addConfusion(SymbolKind kind, qint32 target, qint32 pressed, int count)
{
    if (!validKind(kind) || target == pressed)
        return;
    m_confusions[toInt(kind)][{std::min(target, pressed), std::max(target, pressed)}] += count;
}

const QList<qint32>& QuizContent::symbols(SymbolKind kind) const
{
    static const QList<qint32> none;
    return validKind(kind) ? m_symbols[toInt(kind)] : none;
}

bool QuizContent::contains(SymbolKind kind, qint32 value) const
{
    return validKind(kind) && m_texts[toInt(kind)].contains(value);
}

QString QuizContent::name(SymbolKind kind, qint32 value) const
{
    return validKind(kind) ? m_texts[toInt(kind)].value(value).name : QString();
}

QString QuizContent::explanation(SymbolKind kind, qint32 value) const
{
    return validKind(kind) ? m_texts[toInt(kind)].value(value).explanation : QString();
}

int QuizContent::confusions(SymbolKind kind, qint32 a, qint32 b) const
{
    return validKind(kind) ? m_confusions[toInt(kind)].value({std::min(a, b), std::max(a, b)}) : 0;
}
