// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"
#include "domain/TestNumbers.h"

#include <QImage>
#include <QList>
#include <QString>

// A symbol that a timed round asked for and that was answered wrong at least once.
struct MissedSymbol
{
    QString name;
    QImage picture;
    QString pressedName; // what the last wrong press pressed instead
    int wrongPresses = 0;
    // The question's time ran out before any answer (quick quiz); pressedName is empty then.
    bool unanswered = false;
};

// How a timed round went: the targets found, every judged press, the symbols missed.
struct RoundSummary
{
    SymbolKind kind = SymbolKind::Description; // the kind of symbols the round asked for
    int found = 0;
    int presses = 0;
    QList<MissedSymbol> missed;
    // Found targets per press, in whole percent (100 without presses).
    int accuracyPercent() const { return presses > 0 ? (found * 100 + presses / 2) / presses : 100; }
};

// A finished (or running) round as a value: its time in days, its error count, how it went, and
// the test it ranks under (number 0 when the test is the one chosen in the test selection).
struct FinishedRound
{
    double time = 0;
    int errors = 0;
    RoundSummary summary;
    TestIdentity test;
};
