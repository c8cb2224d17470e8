// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PaperQuiz.h"

#include "content/ContentFiles.h"
#include "content/Language.h"
#include "content/LineTable.h"
#include "game/CellItem.h"
#include "game/SymbolNames.h"
#include "platform/AppError.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "results/AnswerStore.h"

#include <QDir>
#include <algorithm>

namespace {

// The readings of the look-alikes of `line`: the lines most like it, column by column.
QStringList lookAlikeReadings(qint32 line, const QString& reading, const SymbolNames& names,
                              const LineTable& lines)
{
    QList<QPair<int, QString>> candidates; // (likeness, reading)
    for (const qint32 other : names.symbols(SymbolKind::Line)) {
        const QString otherReading = names.name(SymbolKind::Line, other);
        if (other != line && lines.contains(other) && otherReading != reading)
            candidates.append({lines.likeness(line, other), otherReading});
    }
    // equally alike lines are drawn at random
    shuffle(candidates);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList readings;
    for (const auto& [likeness, text] : std::as_const(candidates)) {
        if (readings.size() == PaperQuiz::Options - 1)
            break;
        if (!readings.contains(text))
            readings.append(text);
    }
    return readings;
}

} // namespace

QString namesFileOf(SymbolKind kind, qint32 value)
{
    QString name;
    if (kind == SymbolKind::MapSymbol)
        name = ContentFileName(ContentFiles::SymbolsBase);
    else if (kind == SymbolKind::Description && value < CellItem::FirstLibraryNumber)
        name = ContentFileName(ContentFiles::LegendsBase);
    else
        name = ContentFileName(ContentFiles::LibraryTextsBase);
    const QString found = Files::find(name);
    return QDir::current().absoluteFilePath(found.isEmpty() ? name : found);
}

PaperQuiz PaperQuiz::build(const TTypesItem& test, SymbolKind kind, const SymbolNames& names,
                           const LineTable* lines)
{
    PaperQuiz quiz;
    quiz.kind = kind;
    quiz.testNumber = test.TestNumber;
    quiz.testName = test.TestName.trimmed();
    QList<qint32> asked;
    for (const qint32 value : test.Values) {
        if (asked.contains(value))
            continue;
        asked.append(value);
        if (!names.symbols(kind).contains(value))
            throw AppError(QString::fromLatin1(Msg::NoTextForNumber), {QString::number(value)})
                .inFile(namesFileOf(kind, value))
                .atNumber(value);
        QuizQuestion question;
        question.value = value;
        question.answer = names.name(kind, value);
        if (kind == SymbolKind::Line && lines) {
            if (!lines->contains(value))
                throw AppError(QString::fromLatin1(Msg::NoTextForNumber), {QString::number(value)})
                    .inFile(lines->filePath())
                    .atNumber(value);
            question.options = lookAlikeReadings(value, question.answer, names, *lines);
            question.answerIndex = Random(int(question.options.size()) + 1);
            question.options.insert(question.answerIndex, question.answer);
        }
        quiz.questions.append(question);
    }
    return quiz;
}

CatalogueTest CatalogueTest::find(qint32 number)
{
    static constexpr struct
    {
        QLatin1String catalogue;
        SymbolKind kind;
    } Catalogues[] = {{ContentFiles::DescriptionCatalogue, SymbolKind::Description},
                      {ContentFiles::CombinationCatalogue, SymbolKind::Line},
                      {ContentFiles::MapSymbolCatalogue, SymbolKind::MapSymbol}};
    // read beside the shared store, which is the test selection's list
    Randomize();
    for (const auto& c : Catalogues) {
        const QList<TTypesItem> entries = ReadCatalogueEntries(ContentFileName(c.catalogue));
        for (const TTypesItem& entry : entries) {
            if (entry.TestNumber == number)
                return {entry, c.kind};
        }
    }
    throw AppError(QString::fromLatin1(Msg::TestNotFound), {QString::number(number)});
}
