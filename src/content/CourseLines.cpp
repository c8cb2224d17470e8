// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/CourseLines.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr char ReadingSeparator[] = ", ";

// How many boxes of the two lines hold the same symbol or text (empty boxes not counted).
int boxesAlike(const CourseLine& a, const CourseLine& b)
{
    int alike = 0;
    for (int c = 0; c < SheetColumn::Count; ++c) {
        const bool filled = a.cells[c] != 0 || !a.texts[c].isEmpty();
        if (filled && a.cells[c] == b.cells[c] && a.texts[c] == b.texts[c])
            ++alike;
    }
    return alike;
}

} // namespace

bool CourseLine::describesLike(const CourseLine& other) const
{
    return cells == other.cells && texts == other.texts && text == other.text;
}

QList<CourseLine> courseLines(const DescriptionSheet& sheet)
{
    QList<CourseLine> lines;
    for (const SheetRow& row : sheet.rows) {
        if (row.kind != SheetRow::Control)
            continue;
        CourseLine line;
        line.number = int(lines.size()) + 1;
        line.code = row.code;
        line.cells = row.cells;
        line.texts = row.texts;
        line.text = row.text;
        lines.append(line);
    }
    return lines;
}

QString lineReading(const CourseLine& line, const std::function<QString(qint32 code)>& nameOf)
{
    if (!line.text.isEmpty())
        return line.text;
    QStringList parts;
    for (int c = 0; c < SheetColumn::Count; ++c) {
        if (line.cells[c] != 0)
            parts.append(nameOf(line.cells[c]));
        else if (!line.texts[c].isEmpty())
            parts.append(line.texts[c]);
    }
    return parts.join(QLatin1String(ReadingSeparator));
}

QList<int> lookAlikeLines(const QList<CourseLine>& lines, int index, int count)
{
    QList<int> others;
    for (int i = 0; i < int(lines.size()); ++i) {
        if (i != index && !lines[i].describesLike(lines[index]))
            others.append(i);
    }
    std::stable_sort(others.begin(), others.end(), [&](int a, int b) {
        const int alikeA = boxesAlike(lines[index], lines[a]);
        const int alikeB = boxesAlike(lines[index], lines[b]);
        if (alikeA != alikeB)
            return alikeA > alikeB;
        return std::abs(a - index) < std::abs(b - index);
    });
    // two offered lines that say the same would both be right or both wrong: the first is kept
    QList<int> offered;
    for (const int i : others) {
        if (int(offered.size()) >= count)
            break;
        const bool repeats = std::any_of(offered.cbegin(), offered.cend(),
                                         [&](int o) { return lines[o].describesLike(lines[i]); });
        if (!repeats)
            offered.append(i);
    }
    return offered;
}
