// SPDX-License-Identifier: GPL-3.0-or-later
#include "learning/SheetPictures.h"

#include "platform/Desktop.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

using namespace SheetGeometry;

namespace {

constexpr QColor Ink{0, 0, 0};
constexpr QColor Paper{255, 255, 255};

// Codes of the symbol font (data/symbols/codes.tsv).
constexpr quint8 StartSymbol = 225;
constexpr quint8 FinishSymbol = 226;

// The symbol font's drawing box spans 0.06 .. 0.94 of the pixel size across the advance and
// 0.74 above to 0.14 below the baseline: its centre lies half the size right of the pen and 0.3
// of the size above the baseline.
constexpr qreal GlyphCentreAcross = 0.5;
constexpr qreal GlyphCentreAboveBaseline = 0.3;
// A drawing box of 22 px, for cells of about 25 px.
constexpr int SymbolPixelSize = 25;

constexpr int TextPixelSize = 13;
constexpr int LetterPixelSize = 15;
constexpr int FallbackBoxSize = 13;
constexpr int FallbackLetterPixelSize = 9;

// Bottom row: a marked route from the last control to the finish, in a row without cells.
constexpr qreal RouteControlX = 26;
constexpr qreal RouteControlRadius = 8;
constexpr qreal RouteFinishX = 184;
constexpr qreal RouteFinishOuterRadius = 9;
constexpr qreal RouteFinishInnerRadius = 6;
constexpr qreal RouteLineWidth = 1.5;
constexpr int RouteLabelPadding = 3;
constexpr char RouteLength[] = "150 m";

constexpr char CourseName[] = "Course 5";
constexpr char CourseLength[] = "7.5 km";
constexpr char CourseClimb[] = "210 m";

// One description line: control number, control code, then the symbols of columns C..H
// (0 = empty cell).
struct DescriptionLine
{
    const char* number;
    const char* code;
    std::array<quint8, 6> symbols;
};

constexpr int FirstSymbolColumn = 2;                                // column C
constexpr std::array<quint8, 6> StartLocation{0, 92, 0, 147, 0, 0}; // path, bend

constexpr std::array<DescriptionLine, DescriptionLineCount> Lines{{
    {"1", "31", {0, 46, 0, 0, 217, 0}},    // re-entrant, lower part
    {"2", "45", {0, 63, 0, 133, 152, 0}},  // boulder, 2 m high, south side
    {"3", "52", {0, 76, 0, 0, 197, 0}},    // marsh, south-west tip
    {"4", "38", {41, 60, 0, 134, 0, 0}},   // upper cliff, 3 m high
    {"5", "60", {0, 88, 0, 0, 168, 0}},    // copse, north-east part
    {"6", "47", {0, 92, 92, 146, 0, 0}},   // path junction: both paths, D and E
    {"7", "33", {0, 53, 122, 0, 0, 0}},    // rocky knoll
    {"8", "54", {0, 103, 0, 0, 154, 0}},   // ruin, west side
    {"9", "41", {0, 72, 0, 0, 0, 223}},    // waterhole, refreshment point
    {"10", "39", {0, 49, 0, 131, 150, 0}}, // earth wall, 1 m high, east side
}};
// The column picture shows the first lines of the same course.
constexpr int ColumnPictureLines = static_cast<int>(PictureRows.size()) - 1;

QFont textFont(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A horizontal line at y from x = left to x = right (inclusive), thin or thick.
void horizontalLine(QPainter& painter, int y, int left, int right, int thickness)
{
    painter.fillRect(QRect(left, y - thickness + 1, right - left + 1, thickness), Ink);
}

void verticalLine(QPainter& painter, int x, int top, int bottom, int thickness)
{
    painter.fillRect(QRect(x - thickness + 1, top, thickness, bottom - top + 1), Ink);
}

// The inside of the cell between two vertical and two horizontal lines.
QRect cell(int left, int right, int top, int bottom)
{
    return QRect(left + 1, top + 1, right - left - 1, bottom - top - 1);
}

class SheetPainter
{
public:
    SheetPainter(QImage& image, bool useSymbolFont) : m_painter(&image), m_useSymbolFont(useSymbolFont)
    {
        m_symbolFont = QFont(SheetPictures::symbolFontFamily());
        m_symbolFont.setPixelSize(SymbolPixelSize);
        m_symbolFont.setStyleStrategy(QFont::NoFontMerging);
        m_painter.setRenderHint(QPainter::Antialiasing);
        m_painter.setRenderHint(QPainter::TextAntialiasing);
    }

    QPainter& painter() { return m_painter; }

    void text(const QRect& where, const QString& text, int pixelSize, bool bold = false)
    {
        m_painter.setFont(textFont(pixelSize, bold));
        m_painter.setPen(Ink);
        m_painter.drawText(where, Qt::AlignCenter, text);
    }

    // One symbol of the font centred in `where`; without the font a plain box with the column
    // letter stands in for it.
    void symbol(const QRect& where, quint8 code, QChar columnLetter)
    {
        const QPointF centre = QRectF(where).center();
        if (m_useSymbolFont) {
            m_painter.setFont(m_symbolFont);
            m_painter.setPen(Ink);
            const QPointF pen(centre.x() - GlyphCentreAcross * SymbolPixelSize,
                              centre.y() + GlyphCentreAboveBaseline * SymbolPixelSize);
            m_painter.drawText(pen, QString(QChar(char16_t(code))));
            return;
        }
        QRectF box(0, 0, FallbackBoxSize, FallbackBoxSize);
        box.moveCenter(centre);
        m_painter.save();
        m_painter.setPen(QPen(Ink, 1));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(box);
        m_painter.restore();
        text(box.toAlignedRect(), QString(columnLetter), FallbackLetterPixelSize);
    }

    void startSymbol(const QRect& where)
    {
        if (m_useSymbolFont) {
            symbol(where, StartSymbol, QLatin1Char('A'));
            return;
        }
        const QPointF c = QRectF(where).center();
        const qreal half = FallbackBoxSize / 2.0 + 1;
        QPainterPath triangle;
        triangle.moveTo(c.x(), c.y() - half);
        triangle.lineTo(c.x() + half, c.y() + half * 0.75);
        triangle.lineTo(c.x() - half, c.y() + half * 0.75);
        triangle.closeSubpath();
        m_painter.save();
        m_painter.setPen(QPen(Ink, RouteLineWidth));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPath(triangle);
        m_painter.restore();
    }

    // One description line between the given lines: number and code in Arial, symbols C..H.
    void descriptionLine(const DescriptionLine& line, const std::array<int, 9>& columns, int top, int bottom)
    {
        text(cell(columns[0], columns[1], top, bottom), QString::fromLatin1(line.number), TextPixelSize,
             true);
        text(cell(columns[1], columns[2], top, bottom), QString::fromLatin1(line.code), TextPixelSize);
        symbols(line.symbols, columns, top, bottom);
    }

    void symbols(const std::array<quint8, 6>& codes, const std::array<int, 9>& columns, int top, int bottom)
    {
        for (int i = 0; i < static_cast<int>(codes.size()); ++i) {
            const int column = FirstSymbolColumn + i;
            if (codes[i] != 0)
                symbol(cell(columns[column], columns[column + 1], top, bottom), codes[i],
                       QLatin1Char(char('A' + column)));
        }
    }

    // The bottom row: control circle, dashed route with its length, finish.
    void markedRoute(int left, int right, int top, int bottom)
    {
        const QRect row = cell(left, right, top, bottom);
        const qreal y = QRectF(row).center().y();
        m_painter.save();
        m_painter.setBrush(Qt::NoBrush);
        m_painter.setPen(QPen(Ink, RouteLineWidth));
        m_painter.drawEllipse(QPointF(RouteControlX, y), RouteControlRadius, RouteControlRadius);
        QPen dashed(Ink, RouteLineWidth, Qt::DashLine);
        m_painter.setPen(dashed);
        m_painter.drawLine(QPointF(RouteControlX + RouteControlRadius, y),
                           QPointF(RouteFinishX - RouteFinishOuterRadius, y));
        m_painter.restore();

        const QString length = QString::fromLatin1(RouteLength);
        const QFont font = textFont(TextPixelSize);
        QRect label =
            QFontMetrics(font).boundingRect(length).adjusted(-RouteLabelPadding, 0, RouteLabelPadding, 0);
        label.moveCenter(QPoint((left + right) / 2, row.center().y()));
        m_painter.fillRect(label, Paper);
        text(label, length, TextPixelSize);

        const int finishHalf = (bottom - top) / 2;
        const QRect finishCell(int(RouteFinishX) - finishHalf, top + 1, 2 * finishHalf, bottom - top - 1);
        if (m_useSymbolFont) {
            symbol(finishCell, FinishSymbol, QLatin1Char('H'));
            return;
        }
        m_painter.save();
        m_painter.setBrush(Qt::NoBrush);
        m_painter.setPen(QPen(Ink, RouteLineWidth));
        m_painter.drawEllipse(QPointF(RouteFinishX, y), RouteFinishOuterRadius, RouteFinishOuterRadius);
        m_painter.drawEllipse(QPointF(RouteFinishX, y), RouteFinishInnerRadius, RouteFinishInnerRadius);
        m_painter.restore();
    }

private:
    QPainter m_painter;
    QFont m_symbolFont;
    bool m_useSymbolFont;
};

bool isGroupLine(int lineIndex)
{
    return lineIndex > 0 && lineIndex % LinesPerGroup == 0;
}

} // namespace

QString SheetPictures::symbolFontFamily()
{
    return QStringLiteral("PictorMarks");
}

bool SheetPictures::symbolFontAvailable()
{
    return QFontDatabase::families().contains(symbolFontFamily());
}

namespace {
// A paper-coloured picture of `size` at the screen's pixel density.
QImage sharpCanvas(QSize size)
{
    const qreal ratio = Desktop::pictureRatio();
    QImage image(QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Paper);
    return image;
}
} // namespace

QImage SheetPictures::tablePicture(bool useSymbolFont, const Heading& heading)
{
    const auto orDefault = [](const QString& text, const char* english) {
        return text.isEmpty() ? QString::fromLatin1(english) : text;
    };
    QImage image = sharpCanvas(TableSize);
    SheetPainter sheet(image, useSymbolFont);
    QPainter& painter = sheet.painter();

    const int left = TableColumns.front();
    const int right = TableColumns.back();
    const int top = TableRows.front();
    const int bottom = TableRows.back();

    // top row: course, length, climb
    const int topRowBottom = TableRows[TopRow + 1];
    sheet.text(cell(TopRowCells[0], TopRowCells[1], top, topRowBottom), orDefault(heading.course, CourseName),
               TextPixelSize, true);
    sheet.text(cell(TopRowCells[1], TopRowCells[2], top, topRowBottom),
               orDefault(heading.length, CourseLength), TextPixelSize);
    sheet.text(cell(TopRowCells[2], TopRowCells[3], top, topRowBottom), orDefault(heading.climb, CourseClimb),
               TextPixelSize);

    // start row and the description lines
    const int startTop = TableRows[StartRow];
    const int startBottom = TableRows[StartRow + 1];
    sheet.startSymbol(cell(TableColumns[0], TableColumns[1], startTop, startBottom));
    sheet.symbols(StartLocation, TableColumns, startTop, startBottom);
    for (int i = 0; i < DescriptionLineCount; ++i)
        sheet.descriptionLine(Lines[i], TableColumns, TableRows[FirstDescriptionRow + i],
                              TableRows[FirstDescriptionRow + i + 1]);

    sheet.markedRoute(left, right, TableRows[BottomRow], bottom);

    // lines last, over anything that reached a cell's edge
    for (int r = 1; r + 1 < static_cast<int>(TableRows.size()); ++r) {
        const bool thick = r > FirstDescriptionRow && r < BottomRow && isGroupLine(r - FirstDescriptionRow);
        horizontalLine(painter, TableRows[r], left, right, thick ? ThickLine : ThinLine);
    }
    for (std::size_t c = 1; c + 1 < TopRowCells.size(); ++c)
        verticalLine(painter, TopRowCells[c], top, topRowBottom, ThinLine);
    for (std::size_t c = 1; c + 1 < TableColumns.size(); ++c)
        verticalLine(painter, TableColumns[c], startTop, TableRows[BottomRow], ThinLine);
    // the frame
    horizontalLine(painter, top, left - 1, right, ThickLine);
    horizontalLine(painter, bottom, left - 1, right, ThickLine);
    verticalLine(painter, left, top - 1, bottom, ThickLine);
    verticalLine(painter, right, top - 1, bottom, ThickLine);
    return image;
}

QImage SheetPictures::columnPicture(bool useSymbolFont)
{
    QImage image = sharpCanvas(ColumnPictureSize);
    SheetPainter sheet(image, useSymbolFont);
    QPainter& painter = sheet.painter();

    for (int c = 0; c < ColumnCount; ++c)
        sheet.text(cell(PictureColumns[c], PictureColumns[c + 1], LetterTop, LetterBottom),
                   QString(QLatin1Char(char('A' + c))), LetterPixelSize, true);
    for (int i = 0; i < ColumnPictureLines; ++i)
        sheet.descriptionLine(Lines[i], PictureColumns, PictureRows[i], PictureRows[i + 1]);

    const int left = PictureColumns.front();
    const int right = PictureColumns.back();
    const int top = PictureRows.front();
    const int bottom = PictureRows.back();
    for (int r = 1; r + 1 < static_cast<int>(PictureRows.size()); ++r)
        horizontalLine(painter, PictureRows[r], left, right, isGroupLine(r) ? ThickLine : ThinLine);
    for (std::size_t c = 1; c + 1 < PictureColumns.size(); ++c)
        verticalLine(painter, PictureColumns[c], top, bottom, ThinLine);
    horizontalLine(painter, top, left - 1, right, ThickLine);
    horizontalLine(painter, bottom, left - 1, right, ThickLine);
    verticalLine(painter, left, top - 1, bottom, ThickLine);
    verticalLine(painter, right, top - 1, bottom, ThickLine);
    return image;
}
