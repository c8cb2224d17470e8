#pragma once

#include <functional>

// The program-wide pseudo-random source. Randomize seeds it from the time of day in milliseconds;
// Random(n) is uniform in 0 .. n - 1 (0 when n < 1).
void Randomize();
int Random(int n);

// Tests replace the source with a deterministic one; while it is installed Randomize does nothing.
// Pass an empty function to go back to the real source.
void setRandomOverride(std::function<int(int)> random);
