// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/SymbolRelations.h"
#include "domain/SymbolKind.h"

#include <QHash>
#include <QList>
#include <QString>

class AnswerStore;

// What the quick quiz asks about: the symbols of each kind with their names and explanations in
// the active language, the relations between them (columns, groups, the cells of whole lines,
// which description symbols describe a map symbol) and the pairs the learner has confused.
class QuizContent
{
public:
    QuizContent() = default;

    // The content files of the active language, "Relations.txt" and the confusions of `store`
    // (when it is given and open). Throws AppError for a content file that cannot be read.
    static QuizContent load(const AnswerStore* store);

    void addSymbol(SymbolKind kind, qint32 value, const QString& name, const QString& explanation);
    void setRelations(SymbolRelations relations) { m_relations = std::move(relations); }
    // The learner chose `pressed` when asked for `target` (or the other way round) `count` times.
    void addConfusion(SymbolKind kind, qint32 target, qint32 pressed, int count);

    // Every symbol of a kind, in the order of its text file.
    const QList<qint32>& symbols(SymbolKind kind) const;
    bool contains(SymbolKind kind, qint32 value) const;
    // Empty when the symbol has no name.
    QString name(SymbolKind kind, qint32 value) const;
    QString explanation(SymbolKind kind, qint32 value) const;
    const SymbolRelations& relations() const { return m_relations; }
    // How often two symbols of a kind were confused, either way.
    int confusions(SymbolKind kind, qint32 a, qint32 b) const;

private:
    struct Symbol
    {
        QString name;
        QString explanation;
    };
    static constexpr int KindCount = SymbolKindCount;

    QList<qint32> m_symbols[KindCount];
    QHash<qint32, Symbol> m_texts[KindCount];
    QHash<QPair<qint32, qint32>, int> m_confusions[KindCount];
    SymbolRelations m_relations;
};
