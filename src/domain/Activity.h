// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"

// What the learner plays on the board, apart from the screen that shows it: the symbols of one
// kind, in practice (no question judged, nothing recorded) or in a timed test.
struct Activity
{
    SymbolKind kind = SymbolKind::Description;
    bool timed = false;

    friend constexpr bool operator==(const Activity&, const Activity&) = default;
};
