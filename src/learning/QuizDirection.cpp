// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/QuizDirection.h"

#include "content/Language.h"

#include <QString>

namespace {
using F = QuizFace;
using K = SymbolKind;
} // namespace

const QList<QuizDirection>& QuizDirection::all()
{
    static const QList<QuizDirection> directions = {
        {K::Description, 0, F::Picture, K::Description, F::Text},
        {K::Description, 1, F::Text, K::Description, F::Picture},
        {K::Description, 2, F::Picture, K::MapSymbol, F::Picture},
        {K::Line, 0, F::Picture, K::Line, F::Text},
        {K::Line, 1, F::Text, K::Line, F::Picture},
        {K::Line, 2, F::MapExcerpt, K::Line, F::Picture},
        {K::Line, 3, F::GroundSketch, K::Line, F::Picture},
        {K::MapSymbol, 0, F::Picture, K::MapSymbol, F::Text},
        {K::MapSymbol, 1, F::Text, K::MapSymbol, F::Picture},
        {K::MapSymbol, 2, F::Picture, K::Description, F::Picture},
    };
    return directions;
}

QList<QuizDirection> QuizDirection::ofKind(SymbolKind kind)
{
    QList<QuizDirection> result;
    for (const QuizDirection& d : all()) {
        if (d.kind == kind)
            result.append(d);
    }
    return result;
}

int QuizDirection::textOffset() const
{
    for (int i = 0; i < all().size(); ++i) {
        if (all()[i].kind == kind && all()[i].index == index)
            return i;
    }
    return 0;
}

int QuizDirection::labelId() const
{
    return StringId::QuizDirectionLabel + textOffset();
}

int QuizDirection::testNameId() const
{
    return StringId::QuizTestName + textOffset();
}

int QuizDirection::promptId() const
{
    return StringId::QuizPrompt + textOffset();
}

QString QuizDirection::testName() const
{
    const QString name = LoadString(testNameId());
    return name.isEmpty() ? QString::number(testNumber()) : name;
}
