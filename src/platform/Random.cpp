// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Random.h"

#include <QTime>
#include <random>

namespace {
std::mt19937& engine()
{
    static std::mt19937 instance(5489u);
    return instance;
}
std::function<int(int)>& override_()
{
    static std::function<int(int)> instance;
    return instance;
}
} // namespace

void Randomize()
{
    if (override_())
        return;
    engine().seed(static_cast<std::mt19937::result_type>(QTime::currentTime().msecsSinceStartOfDay()));
}

int Random(int n)
{
    if (n < 1)
        return 0;
    if (override_()) {
        const int value = override_()(n);
        return value < 0 || value >= n ? 0 : value;
    }
    std::uniform_int_distribution<int> pick(0, n - 1);
    return pick(engine());
}

void setRandomOverride(std::function<int(int)> random)
{
    override_() = std::move(random);
}
