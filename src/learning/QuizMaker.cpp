// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/QuizMaker.h"

#include "game/CellItem.h"
#include "learning/QuizContent.h"
#include "platform/Random.h"
#include "results/AnswerStore.h"

#include <algorithm>

namespace {

// A pair the learner has confused is more alike than anything the content says.
constexpr int ConfusedLikeness = 1000;
// The cells of a whole line, columns C to H, and the ones each picture of the line shows.
constexpr size_t ColumnC = SheetColumn::C;
constexpr size_t ColumnD = SheetColumn::D;
constexpr size_t ColumnG = SheetColumn::G;
// On a map excerpt the twin features of column C and the feature of column D show; a sketch of the
// ground shows the flag's place of column G as well. Heights, appearances and column H do not.
constexpr size_t ExcerptShows[] = {ColumnC, ColumnD};
constexpr size_t SketchShows[] = {ColumnC, ColumnD, ColumnG};

bool sameName(const QString& a, const QString& b)
{
    return QString::compare(a.simplified(), b.simplified(), Qt::CaseInsensitive) == 0;
}

} // namespace

bool QuizMaker::askable(const QuizDirection& d, qint32 subject) const
{
    if (!m_content.contains(d.kind, subject))
        return false;
    const bool named = d.question == QuizFace::Text || d.answer == QuizFace::Text;
    if (named && m_content.name(d.kind, subject).isEmpty())
        return false;
    const bool drawnScene = d.question == QuizFace::MapExcerpt || d.question == QuizFace::GroundSketch;
    if (drawnScene && !m_content.relations().hasCells(subject))
        return false;
    return !rightAnswers(d, subject).isEmpty();
}

QList<qint32> QuizMaker::rightAnswers(const QuizDirection& d, qint32 subject) const
{
    if (d.answerKind == d.kind)
        return {subject};
    const SymbolRelations& relations = m_content.relations();
    const QList<qint32> paired =
        d.kind == SymbolKind::MapSymbol ? relations.describedBy(subject) : relations.describes(subject);
    QList<qint32> rights;
    for (const qint32 value : paired) {
        if (m_content.contains(d.answerKind, value))
            rights.append(value);
    }
    return rights;
}

bool QuizMaker::mayOffer(const QuizDirection& d, qint32 subject, qint32 candidate,
                         const QList<qint32>& offered) const
{
    if (!m_content.contains(d.answerKind, candidate) || offered.contains(candidate) ||
        rightAnswers(d, subject).contains(candidate))
        return false;
    if (d.answer == QuizFace::Text) {
        const QString name = m_content.name(d.answerKind, candidate);
        if (name.isEmpty())
            return false;
        for (const qint32 o : offered) {
            if (sameName(name, m_content.name(d.answerKind, o)))
                return false;
        }
    }
    if (d.answerKind != SymbolKind::Line)
        return true;
    const SymbolRelations& relations = m_content.relations();
    if (d.question == QuizFace::MapExcerpt || d.question == QuizFace::GroundSketch) {
        if (!relations.hasCells(candidate))
            return false;
        const auto a = relations.cellsOf(subject);
        const auto b = relations.cellsOf(candidate);
        const auto differs = [&](size_t column) { return a[column] != b[column]; };
        const bool shown = d.question == QuizFace::MapExcerpt
                               ? std::any_of(std::begin(ExcerptShows), std::end(ExcerptShows), differs)
                               : std::any_of(std::begin(SketchShows), std::end(SketchShows), differs);
        if (!shown)
            return false;
    }
    // two lines of the same cells would draw the same picture
    if (relations.hasCells(candidate)) {
        for (const qint32 o : offered) {
            if (relations.hasCells(o) && relations.cellsOf(o) == relations.cellsOf(candidate))
                return false;
        }
    }
    return true;
}

int QuizMaker::likeness(const QuizDirection& d, qint32 subject, qint32 right, qint32 candidate) const
{
    int score = 0;
    if (d.answerKind == d.kind) {
        const int confused = m_content.confusions(d.kind, right, candidate);
        if (confused > 0)
            score += ConfusedLikeness + confused;
    }
    const SymbolRelations& relations = m_content.relations();
    switch (d.answerKind) {
    case SymbolKind::Description: {
        const QChar column = relations.columnOf(candidate);
        const bool sameColumn = !column.isNull() && column == relations.columnOf(right);
        if (d.kind == SymbolKind::Description) {
            // the special instructions of the sheet are pictures of their own, one group
            const bool bothSpecial =
                right >= CellItem::FirstLibraryNumber && candidate >= CellItem::FirstLibraryNumber;
            const QString iof = relations.iofOf(candidate);
            score += sameColumn || bothSpecial ? 2 : 0;
            score += !iof.isEmpty() && iof == relations.iofOf(right) ? 1 : 0;
        } else {
            // a feature of the same group of map symbols: a boulder beside a cliff, a pond beside a marsh
            const QString group = relations.groupOf(subject);
            const QList<qint32> described = relations.describes(candidate);
            const bool sameGroup = std::any_of(described.begin(), described.end(), [&](qint32 isom) {
                return !group.isEmpty() && relations.groupOf(isom) == group;
            });
            score += (sameGroup ? 2 : 0) + (sameColumn ? 1 : 0);
        }
        break;
    }
    case SymbolKind::MapSymbol: {
        const QList<qint32> byRight = relations.describedBy(right);
        const QList<qint32> byCandidate = relations.describedBy(candidate);
        const bool sharesDescription = std::any_of(byRight.begin(), byRight.end(),
                                                   [&](qint32 code) { return byCandidate.contains(code); });
        const QString group = relations.groupOf(candidate);
        score +=
            (sharesDescription ? 2 : 0) + (!group.isEmpty() && group == relations.groupOf(right) ? 1 : 0);
        break;
    }
    default: {
        if (!relations.hasCells(right) || !relations.hasCells(candidate))
            break;
        const auto a = relations.cellsOf(right);
        const auto b = relations.cellsOf(candidate);
        for (size_t column = 0; column < a.size(); ++column) {
            if (a[column] != 0 && a[column] == b[column])
                score += column == ColumnD ? 2 : 1;
        }
        break;
    }
    }
    return score;
}

QList<qint32> QuizMaker::othersBeside(const QuizDirection& d, qint32 subject, qint32 right,
                                      bool shuffled) const
{
    QList<std::pair<int, qint32>> candidates;
    for (const qint32 value : m_content.symbols(d.answerKind)) {
        if (value != right)
            candidates.append({0, value});
    }
    if (shuffled)
        shuffle(candidates);
    for (auto& [score, value] : candidates)
        score = likeness(d, subject, right, value);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QList<qint32> offered = {right};
    for (const auto& candidate : std::as_const(candidates)) {
        if (offered.size() == QuickQuestion::ChoiceCount)
            break;
        if (mayOffer(d, subject, candidate.second, offered))
            offered.append(candidate.second);
    }
    return offered.mid(1);
}

qint32 QuizMaker::storedAs(const QuizDirection& d, qint32 subject, qint32 choice) const
{
    if (d.answerKind == d.kind)
        return choice;
    if (rightAnswers(d, subject).contains(choice))
        return subject;
    const SymbolRelations& relations = m_content.relations();
    if (d.kind == SymbolKind::Description) {
        for (const qint32 code : relations.describedBy(choice)) {
            if (m_content.contains(d.kind, code))
                return code;
        }
        return AnswerStore::NoPress;
    }
    // the map symbol of the chosen description symbol, one of the question's group first
    qint32 paired = AnswerStore::NoPress;
    for (const qint32 isom : relations.describes(choice)) {
        if (!m_content.contains(d.kind, isom))
            continue;
        if (relations.groupOf(isom) == relations.groupOf(subject))
            return isom;
        if (paired == AnswerStore::NoPress)
            paired = isom;
    }
    return paired;
}

QList<qint32> QuizMaker::subjects(const QuizDirection& direction) const
{
    QList<qint32> result;
    for (const qint32 value : m_content.symbols(direction.kind)) {
        if (askable(direction, value) &&
            othersBeside(direction, value, rightAnswers(direction, value).first(), false).size() ==
                QuickQuestion::ChoiceCount - 1)
            result.append(value);
    }
    return result;
}

std::optional<QuickQuestion> QuizMaker::question(const QuizDirection& direction, qint32 subject) const
{
    if (!askable(direction, subject))
        return std::nullopt;
    const QList<qint32> rights = rightAnswers(direction, subject);
    const qint32 right = rights[Random(static_cast<int>(rights.size()))];
    const QList<qint32> others = othersBeside(direction, subject, right, true);
    if (others.size() < QuickQuestion::ChoiceCount - 1)
        return std::nullopt;
    QuickQuestion q;
    q.direction = direction;
    q.subject = subject;
    q.right = Random(QuickQuestion::ChoiceCount);
    for (int i = 0, other = 0; i < QuickQuestion::ChoiceCount; ++i) {
        q.choices[i] = i == q.right ? right : others[other++];
        q.storedAs[i] = storedAs(direction, subject, q.choices[i]);
    }
    return q;
}

QList<QuickQuestion> QuizMaker::questions(const QuizDirection& direction, int count) const
{
    Randomize();
    const QList<qint32> pool = subjects(direction);
    QList<QuickQuestion> result;
    while (!pool.isEmpty() && result.size() < count) {
        QList<qint32> order = pool;
        shuffle(order);
        const qsizetype before = result.size();
        for (const qint32 subject : std::as_const(order)) {
            if (result.size() == count)
                break;
            if (const std::optional<QuickQuestion> q = question(direction, subject))
                result.append(*q);
        }
        if (result.size() == before)
            break;
    }
    return result;
}
