// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

// The two pictures of a control description sheet on the page "Learn general", drawn at run time:
// the table picture (a whole sheet of one course) and the column picture (a few description
// lines under their column letters A..H). Symbols come from the symbol font when it is installed,
// else plain boxes stand in for them.
//
// The geometry below is what the area markers of the page are laid on: a line at position p is
// one pixel at p, a thick line two pixels at p - 1 and p, and a marker outlining the cell between
// lines a and b covers a - 1 .. b, so its 2 px outline lies on the cell's lines.
namespace SheetGeometry {

// --- table picture (control Tabl1, at 0, 0 on the page)
constexpr QSize TableSize{209, 337};
// Vertical lines: left frame, between columns A|B .. G|H, right frame.
constexpr std::array<int, 9> TableColumns{4, 29, 55, 80, 106, 131, 157, 182, 208};
// Horizontal lines: top frame, top row | start row, start row | first line, between the ten
// description lines, last line | bottom row, bottom frame.
constexpr std::array<int, 14> TableRows{4, 29, 54, 80, 107, 133, 157, 183, 208, 233, 257, 284, 311, 336};
// The top row's three cells (course, length, climb) share two lines with the columns below.
constexpr std::array<int, 4> TopRowCells{4, 80, 157, 208};
constexpr int TopRow = 0; // rows between TableRows[r] and TableRows[r + 1]
constexpr int StartRow = 1;
constexpr int FirstDescriptionRow = 2;
constexpr int DescriptionLineCount = 10;
constexpr int BottomRow = FirstDescriptionRow + DescriptionLineCount;
// A thicker line follows every third description line.
constexpr int LinesPerGroup = 3;

// --- column picture (control Image3, at 392, 176 on the page)
constexpr QPoint ColumnPictureOrigin{392, 176};
constexpr QSize ColumnPictureSize{209, 161};
constexpr std::array<int, 9> PictureColumns{1, 28, 54, 80, 106, 133, 157, 183, 208};
constexpr std::array<int, 5> PictureRows{28, 55, 82, 110, 137};
// The column letters stand above the first row line.
constexpr int LetterTop = 4;
constexpr int LetterBottom = 26;
constexpr int ColumnCount = 8;

constexpr int ThinLine = 1;
constexpr int ThickLine = 2;

} // namespace SheetGeometry

namespace SheetPictures {

// The top row of the table picture: the course, its length and its climb, as the language writes
// them ("Bahn 5", "7,5 km"); an empty text keeps the English one.
struct Heading
{
    QString course;
    QString length;
    QString climb;
};

// The family name of the symbol font.
QString symbolFontFamily();
// Whether the symbol font is installed in the application's font database.
bool symbolFontAvailable();

QImage tablePicture(bool useSymbolFont, const Heading& heading = {});
QImage columnPicture(bool useSymbolFont);
inline QImage tablePicture(const Heading& heading)
{
    return tablePicture(symbolFontAvailable(), heading);
}
inline QImage columnPicture()
{
    return columnPicture(symbolFontAvailable());
}

} // namespace SheetPictures
