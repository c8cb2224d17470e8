// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/Catalogue.h"
#include "domain/SymbolKind.h"

#include <QList>
#include <QString>
#include <QStringList>

class LineTable;
class SymbolNames;

// One question of a quiz on paper: a symbol to write the meaning of, or a whole line with readings
// to choose from.
struct QuizQuestion
{
    qint32 value = 0;
    QString answer;
    // For a whole line: four readings, the right one among them at `answerIndex`.
    QStringList options;
    int answerIndex = -1;
};

// A test of a catalogue as a quiz on paper, with its answer key.
struct PaperQuiz
{
    SymbolKind kind = SymbolKind::Description;
    qint32 testNumber = 0;
    QString testName;
    QList<QuizQuestion> questions;

    static constexpr int Options = 4;

    // The quiz of `test`, whose symbols are of `kind`: each symbol once, in the test's order. A whole
    // line gets three readings of look-alike lines beside its own, those most like it by
    // LineTable::likeness (ties drawn at random), and its own reading at a random place among them. Throws
    // "No text for number %d" naming the file of names (or the table of lines) that lacks a symbol.
    static PaperQuiz build(const TTypesItem& test, SymbolKind kind, const SymbolNames& names,
                           const LineTable* lines);
};

// A test of a catalogue and the kind of its symbols.
struct CatalogueTest
{
    TTypesItem test;
    SymbolKind kind = SymbolKind::Description;

    // The test `number` from whichever catalogue of the active language holds it (descriptions,
    // whole lines, map symbols), with each group's random choice made. Throws "No catalogue has
    // test %d", or a catalogue's fault; the shared catalogue store is left as it was.
    static CatalogueTest find(qint32 number);
};

// The file that names the symbols of `kind` in the active language (the library's text for the
// special instructions among the description symbols, from 990 on), as an absolute path.
QString namesFileOf(SymbolKind kind, qint32 value);
