// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <functional>
#include <utility>

// The program-wide pseudo-random source. Randomize seeds it from the time of day in milliseconds;
// Random(n) is uniform in 0 .. n - 1 (0 when n < 1).
void Randomize();
int Random(int n);

// Puts the list's items into an order drawn from Random.
template <typename List> void shuffle(List& list)
{
    for (qsizetype i = list.size() - 1; i > 0; --i)
        std::swap(list[i], list[Random(static_cast<int>(i + 1))]);
}

// Tests replace the source with a deterministic one; while it is installed Randomize does nothing.
// Pass an empty function to go back to the real source.
void setRandomOverride(std::function<int(int)> random);
