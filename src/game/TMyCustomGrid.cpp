// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/TMyCustomGrid.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {
// The defaults of an ordinary draw grid.
constexpr int DefaultColumns = 5;
constexpr int DefaultRows = 5;
constexpr int DefaultCellWidth = 64;
constexpr int DefaultCellHeight = 24;
constexpr int DefaultLineWidth = 1;

// How many cells of `size` with lines of `line` fit whole into `extent`, at most `count`.
int wholeCells(int extent, int size, int line, int count)
{
    const int stride = size + line;
    if (stride <= 0)
        return count;
    return std::min(count, extent / stride);
}

// Keeps the painter's state of one cell, also when painting the cell throws.
class PainterState
{
public:
    explicit PainterState(QPainter& painter) : m_painter(painter) { m_painter.save(); }
    ~PainterState() { m_painter.restore(); }
    PainterState(const PainterState&) = delete;
    PainterState& operator=(const PainterState&) = delete;

private:
    QPainter& m_painter;
};

int cellAt(int position, int size, int line, int count)
{
    const int stride = size + line;
    if (position < 0 || stride <= 0)
        return -1;
    const int cell = position / stride;
    return cell < count ? cell : -1;
}
} // namespace

TMyCustomGrid::TMyCustomGrid(QWidget* parent)
    : QWidget(parent), m_colCount(DefaultColumns), m_rowCount(DefaultRows), m_colWidth(DefaultCellWidth),
      m_rowHeight(DefaultCellHeight), m_lineWidth(DefaultLineWidth),
      m_lineColor(palette().color(QPalette::Mid)), m_color(palette().color(QPalette::Base))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMyCustomGrid::SetColCount(int count)
{
    count = std::max(1, count);
    if (m_colCount == count)
        return;
    m_colCount = count;
    gridChanged();
}

void TMyCustomGrid::SetRowCount(int count)
{
    count = std::max(1, count);
    if (m_rowCount == count)
        return;
    m_rowCount = count;
    gridChanged();
}

void TMyCustomGrid::SetDefaultColWidth(int width)
{
    width = std::max(0, width);
    if (m_colWidth == width)
        return;
    m_colWidth = width;
    gridChanged();
}

void TMyCustomGrid::SetDefaultRowHeight(int height)
{
    height = std::max(0, height);
    if (m_rowHeight == height)
        return;
    m_rowHeight = height;
    gridChanged();
}

void TMyCustomGrid::SetGridLineWidth(int width)
{
    width = std::max(0, width);
    if (m_lineWidth == width)
        return;
    m_lineWidth = width;
    gridChanged();
}

void TMyCustomGrid::SetGridLineColor(const QColor& color)
{
    if (m_lineColor == color)
        return;
    m_lineColor = color;
    update();
}

void TMyCustomGrid::SetColor(const QColor& color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void TMyCustomGrid::SetDefaultDrawing(bool defaultDrawing)
{
    if (m_defaultDrawing == defaultDrawing)
        return;
    m_defaultDrawing = defaultDrawing;
    update();
}

int TMyCustomGrid::VisibleColCount() const
{
    return wholeCells(width(), m_colWidth, m_lineWidth, m_colCount);
}

int TMyCustomGrid::VisibleRowCount() const
{
    return wholeCells(height(), m_rowHeight, m_lineWidth, m_rowCount);
}

QRect TMyCustomGrid::CellBounds(int col, int row) const
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        return {};
    return {col * (m_colWidth + m_lineWidth), row * (m_rowHeight + m_lineWidth), m_colWidth, m_rowHeight};
}

int TMyCustomGrid::ColumnAt(int x) const
{
    return cellAt(x, m_colWidth, m_lineWidth, m_colCount);
}

int TMyCustomGrid::RowAt(int y) const
{
    return cellAt(y, m_rowHeight, m_lineWidth, m_rowCount);
}

QSize TMyCustomGrid::sizeHint() const
{
    return {m_colCount * (m_colWidth + m_lineWidth), m_rowCount * (m_rowHeight + m_lineWidth)};
}

void TMyCustomGrid::gridChanged()
{
    updateGeometry();
    update();
}

void TMyCustomGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect damaged = event->rect();
    // What lies outside the cells and lines shows the grid's colour.
    painter.fillRect(damaged, m_color);

    const int colStride = m_colWidth + m_lineWidth;
    const int rowStride = m_rowHeight + m_lineWidth;
    const int gridWidth = m_colCount * colStride;
    const int gridHeight = m_rowCount * rowStride;
    if (m_lineWidth > 0) {
        const QColor lineColor = effectiveLineColor();
        for (int col = 0; col < m_colCount; ++col)
            painter.fillRect(QRect(col * colStride + m_colWidth, 0, m_lineWidth, gridHeight) & damaged,
                             lineColor);
        for (int row = 0; row < m_rowCount; ++row)
            painter.fillRect(QRect(0, row * rowStride + m_rowHeight, gridWidth, m_lineWidth) & damaged,
                             lineColor);
    }

    const QRegion region = event->region();
    const int firstCol = std::max(0, ColumnAt(damaged.left()));
    const int firstRow = std::max(0, RowAt(damaged.top()));
    for (int row = firstRow; row < m_rowCount && row * rowStride <= damaged.bottom(); ++row) {
        for (int col = firstCol; col < m_colCount && col * colStride <= damaged.right(); ++col) {
            const QRect rect = CellBounds(col, row);
            if (rect.isEmpty() || !region.intersects(rect))
                continue;
            if (m_defaultDrawing)
                painter.fillRect(rect, m_color);
            const PainterState state(painter);
            drawCell(painter, col, row, rect);
        }
    }
}
