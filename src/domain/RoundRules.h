// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings that change how a round is played and judged.
struct RoundRules
{
    // The symbols' names under their pictures: a round played so is shown but never ranked or
    // recorded.
    bool textHelp = false;
    // The board shows names instead of pictures.
    bool textOnly = false;
    // After a wrong press the right cell is marked for a moment.
    bool showRightCellAfterMiss = false;

    friend constexpr bool operator==(const RoundRules&, const RoundRules&) = default;
};
