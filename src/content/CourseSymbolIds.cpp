// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/CourseSymbolIds.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>

namespace {

enum class Kind { Plain, Directional, Instruction };

// Ids group.first to group.last stand for our group ours.firstOurs onwards, in the same order.
struct Range
{
    int group;
    int first;
    int last;
    int ours;      // our group; 0 for an instruction
    int firstOurs; // our first number, or the first instruction
    Kind kind;
};

// The 2004 ids and what they are here. Columns C to F and the features of D keep their numbers,
// but for the course setter's ids of the symbols added since (after ids 5.21 and 5.22 of its
// own): canopy, stairway, out-of-bounds area and railway. Column G (11.x) is our 12.x in the
// 2018 order, its bend (11.7) our bend of column F (11.1); column H (12.x) is our 13.x, without
// the 2004 "Radio or TV control" (12.3), which the 2018 edition dropped; the special
// instructions on the course (13.1 to 13.5) and to the finish (14.1 to 14.3) are our
// instructions 991 to 995 and 997 to 999.
constexpr Range Table[] = {
    {0, 3, 5, 0, 3, Kind::Plain}, // upper, lower, middle (0.1 and 0.2 below)
    {1, 1, 16, 1, 1, Kind::Plain},
    {2, 1, 10, 2, 1, Kind::Plain},
    {3, 1, 11, 3, 1, Kind::Plain},
    {4, 1, 10, 4, 1, Kind::Plain},
    {5, 1, 20, 5, 1, Kind::Plain},
    {5, 23, 26, 5, 21, Kind::Plain},
    {6, 1, 2, 6, 1, Kind::Plain},
    {8, 1, 11, 8, 1, Kind::Plain},
    {10, 1, 2, 10, 1, Kind::Plain},
    {11, 1, 6, 12, 1, Kind::Directional},    // side, edge, part, corners, tip
    {11, 7, 7, 11, 1, Kind::Plain},          // bend
    {11, 8, 8, 12, 7, Kind::Directional},    // end
    {11, 9, 11, 12, 8, Kind::Plain},         // upper part, lower part, top
    {11, 12, 12, 12, 13, Kind::Plain},       // beneath
    {11, 13, 13, 12, 11, Kind::Plain},       // foot
    {11, 14, 14, 12, 12, Kind::Directional}, // foot with a direction
    {11, 15, 15, 12, 14, Kind::Plain},       // between
    {12, 1, 2, 13, 1, Kind::Plain},          // first aid, refreshments
    {12, 4, 4, 13, 3, Kind::Plain},          // manned control
    {13, 1, 5, 0, 991, Kind::Instruction},
    {14, 1, 3, 0, 997, Kind::Instruction},
};

// "Which of similar features" takes every compass point: ours is 0.1 for N, E, S, W and 0.2
// for the points between.
constexpr int WhichGroup = 0;
constexpr int Northern = 1;
constexpr int SouthEastern = 2;

constexpr std::array<const char*, 8> CompassPoints{"N", "NE", "E", "SE", "S", "SW", "W", "NW"};

bool isCompassPoint(const QString& point)
{
    return std::any_of(CompassPoints.begin(), CompassPoints.end(),
                       [&point](const char* p) { return point == QLatin1String(p); });
}

QString number(int group, int item)
{
    return QStringLiteral("%1.%2").arg(group).arg(item);
}

} // namespace

std::optional<CourseSymbolIds::Target> CourseSymbolIds::lookUp(const QString& id)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})([NESW]{0,2})$"));
    QString written = id.toUpper();
    written.remove(QLatin1Char(' '));
    const QRegularExpressionMatch m = form.match(written);
    if (!m.hasMatch())
        return std::nullopt;
    const int group = m.captured(1).toInt();
    const int item = m.captured(2).toInt();
    const QString point = m.captured(3);
    const bool known = isCompassPoint(point);
    if (group == WhichGroup && (item == Northern || item == SouthEastern)) {
        if (!known)
            return std::nullopt;
        const int ours = point.size() == 1 ? Northern : SouthEastern;
        return Target{number(WhichGroup, ours) + QLatin1Char(':') + point, 0};
    }
    for (const Range& range : Table) {
        if (range.group != group || item < range.first || item > range.last)
            continue;
        const int ours = range.firstOurs + item - range.first;
        switch (range.kind) {
        case Kind::Instruction:
            return point.isEmpty() ? std::optional(Target{QString(), ours}) : std::nullopt;
        case Kind::Plain:
            return point.isEmpty() ? std::optional(Target{number(range.ours, ours), 0}) : std::nullopt;
        case Kind::Directional:
            if (!known)
                return std::nullopt;
            return Target{number(range.ours, ours) + QLatin1Char(':') + point, 0};
        }
    }
    return std::nullopt;
}

QStringList CourseSymbolIds::allIds()
{
    QStringList ids;
    for (const int item : {Northern, SouthEastern}) {
        for (const char* point : CompassPoints)
            ids.append(number(WhichGroup, item) + QLatin1String(point));
    }
    for (const Range& range : Table) {
        for (int item = range.first; item <= range.last; ++item) {
            if (range.kind != Kind::Directional) {
                ids.append(number(range.group, item));
                continue;
            }
            for (const char* point : CompassPoints)
                ids.append(number(range.group, item) + QLatin1String(point));
        }
    }
    return ids;
}
