// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

// A plain draw grid: columns and rows of one default size, separated by grid lines of a given
// width, with no fixed rows or columns, no scrolling and no selection. Line i of an axis lies right
// of (below) cell i, so a cell's stride is its size plus the line width. Derived grids paint the
// cells; this class paints the lines and asks for only the cells that meet the damaged region.
class TMyCustomGrid : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth)
    Q_PROPERTY(QColor GridLineColor READ GridLineColor WRITE SetGridLineColor)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool DefaultDrawing READ DefaultDrawing WRITE SetDefaultDrawing)
    Q_PROPERTY(int VisibleColCount READ VisibleColCount)
    Q_PROPERTY(int VisibleRowCount READ VisibleRowCount)

public:
    explicit TMyCustomGrid(QWidget* parent = nullptr);

    int ColCount() const { return m_colCount; }
    int RowCount() const { return m_rowCount; }
    int DefaultColWidth() const { return m_colWidth; }
    int DefaultRowHeight() const { return m_rowHeight; }
    int GridLineWidth() const { return m_lineWidth; }
    QColor GridLineColor() const { return m_lineColor; }
    // The background of the grid and of its cells.
    QColor Color() const { return m_color; }
    // Whether every cell is filled with Color before it is drawn.
    bool DefaultDrawing() const { return m_defaultDrawing; }

    // A count below 1 becomes 1; a size or width below 0 becomes 0.
    void SetColCount(int count);
    void SetRowCount(int count);
    void SetDefaultColWidth(int width);
    void SetDefaultRowHeight(int height);
    void SetGridLineWidth(int width);
    void SetGridLineColor(const QColor& color);
    void SetColor(const QColor& color);
    void SetDefaultDrawing(bool defaultDrawing);

    // Columns (rows) that are visible whole, each with its grid line.
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // The cell's pixel rectangle; empty for a cell that is not on the grid.
    QRect CellBounds(int col, int row) const;
    // The column (row) under a pixel position; a grid line belongs to the cell left of (above) it.
    // -1 when the position is over no column (row).
    int ColumnAt(int x) const;
    int RowAt(int y) const;

    QSize sizeHint() const override;

protected:
    // Paints one cell that meets the damaged region.
    virtual void drawCell(QPainter& painter, int col, int row, const QRect& rect) = 0;
    // The colour in which the grid lines are drawn.
    virtual QColor effectiveLineColor() const { return m_lineColor; }
    // The grid's shape or look changed: lay out again and repaint.
    virtual void gridChanged();

    void paintEvent(QPaintEvent* event) override;

private:
    int m_colCount;
    int m_rowCount;
    int m_colWidth;
    int m_rowHeight;
    int m_lineWidth;
    QColor m_lineColor;
    QColor m_color;
    bool m_defaultDrawing = true;
};
