// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "learning/AreaMarker.h"

#include <QRect>
#include <array>
#include <vector>

// Where the area markers of the page "Learn general" lie, one row per walkthrough step. Rectangles
// outline a cell, row, block or column of the two sheet pictures (table picture at 0, 0 and
// column picture at 392, 176 on the page); circles mark one row of the table picture each, to its
// right.
struct AreaPlace
{
    int tag;
    QRect place;
    AreaMarker::Form form;
    bool whiteOutline;
};

namespace LegendAreaTable {

constexpr int AreaCount = 29;
// Markers of the table picture's rows, in tag order from the top row down.
constexpr int FirstRowCircle = 17;
constexpr int RowCircleLeft = 216;
constexpr int RowCircleSize = 17;

constexpr AreaMarker::Form Box = AreaMarker::Form::Rectangle;
constexpr AreaMarker::Form Ring = AreaMarker::Form::Circle;

constexpr std::array<AreaPlace, AreaCount> Areas{{
    {1, QRect(3, 3, 78, 27), Box, false},       // top row: course
    {2, QRect(79, 3, 79, 27), Box, false},      // top row: length
    {3, QRect(156, 3, 53, 27), Box, false},     // top row: climb
    {4, QRect(3, 28, 206, 27), Box, false},     // start row
    {5, QRect(3, 53, 206, 259), Box, false},    // the block of description lines
    {6, QRect(3, 310, 206, 27), Box, false},    // bottom row
    {7, QRect(48, 352, 33, 17), Box, true},     // below the pictures: nothing to see
    {8, QRect(392, 203, 29, 111), Box, false},  // column A
    {9, QRect(419, 203, 28, 111), Box, false},  // column B
    {10, QRect(445, 203, 28, 111), Box, false}, // column C
    {11, QRect(471, 203, 28, 111), Box, false}, // column D
    {12, QRect(497, 203, 29, 111), Box, false}, // column E
    {13, QRect(524, 203, 26, 111), Box, false}, // column F
    {14, QRect(548, 203, 28, 111), Box, false}, // column G
    {15, QRect(574, 203, 27, 111), Box, false}, // column H
    {16, QRect(3, 310, 206, 27), Box, false},   // bottom row again, as a marked route
    {17, QRect(RowCircleLeft, 8, RowCircleSize, RowCircleSize), Ring, false},
    {18, QRect(RowCircleLeft, 32, RowCircleSize, RowCircleSize), Ring, false},
    {19, QRect(RowCircleLeft, 58, RowCircleSize, RowCircleSize), Ring, false},
    {20, QRect(RowCircleLeft, 85, RowCircleSize, RowCircleSize), Ring, false},
    {21, QRect(RowCircleLeft, 112, RowCircleSize, RowCircleSize), Ring, false},
    {22, QRect(RowCircleLeft, 136, RowCircleSize, RowCircleSize), Ring, false},
    {23, QRect(RowCircleLeft, 162, RowCircleSize, RowCircleSize), Ring, false},
    {24, QRect(RowCircleLeft, 187, RowCircleSize, RowCircleSize), Ring, false},
    {25, QRect(RowCircleLeft, 212, RowCircleSize, RowCircleSize), Ring, false},
    {26, QRect(RowCircleLeft, 236, RowCircleSize, RowCircleSize), Ring, false},
    {27, QRect(RowCircleLeft, 262, RowCircleSize, RowCircleSize), Ring, false},
    {28, QRect(RowCircleLeft, 289, RowCircleSize, RowCircleSize), Ring, false},
    {29, QRect(RowCircleLeft, 313, RowCircleSize, RowCircleSize), Ring, false},
}};

} // namespace LegendAreaTable

// The area markers of one page, created hidden from the table above and kept for the page's life
// (the page owns the widgets).
class LegendAreas
{
public:
    explicit LegendAreas(QWidget* page);

    // Every marker (tags 1..29) visible or hidden.
    void SetAreasVisible(bool visible);
    // The first marker carrying `tag`. No marker carrying it is a programming error: asserts, and
    // throws std::out_of_range where assertions are off.
    AreaMarker* AreaByTag(int tag) const;

    const std::vector<AreaMarker*>& markers() const { return m_markers; }

private:
    std::vector<AreaMarker*> m_markers;
};
