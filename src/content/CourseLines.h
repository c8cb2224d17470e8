// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/DescriptionSheet.h"

#include <QList>
#include <QString>
#include <functional>

// A control of a course as the trainer plays it: the row of its description sheet, with its number
// on the course and its code. The lines of a course are the content of its rounds: the board of a
// timed test (a cell per line, the target named by its reading), the questions of a quiz (a reading
// to its line and back).
struct CourseLine
{
    int number = 0; // 1 for the first control of the course
    QString code;
    LineCells cells{};
    std::array<QString, SheetColumn::Count> texts{};
    QString text; // a text across the row

    // Whether the two lines say the same: same symbols and texts in the same boxes. A round must
    // take either as the answer for the other.
    bool describesLike(const CourseLine& other) const;
};

// The control rows of `sheet`, in the order of the course (start, instructions and finish left
// out).
QList<CourseLine> courseLines(const DescriptionSheet& sheet);

// How the line reads: the names of its symbols and its texts from box C to H ("Northern, Boulder,
// 1.5, North-west side"), or its text across the row. `nameOf` names a symbol by its code.
QString lineReading(const CourseLine& line, const std::function<QString(qint32 code)>& nameOf);

// For a quiz's wrong answers: the indices of up to `count` lines of `lines` most like line `index`
// (most boxes alike first, then the nearest on the course), never one that describes like it.
QList<int> lookAlikeLines(const QList<CourseLine>& lines, int index, int count);
