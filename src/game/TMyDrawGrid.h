// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/BoardLoader.h"
#include "game/CellItem.h"
#include "game/TMyCustomGrid.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <array>

class QTimer;

class AppError;
class PictureLibrary;
class QFontMetrics;
struct TTypesItem;

// The board of every test and practice round: a grid of equal cells, each backed by one of the
// grid's 100 cell items. Cell (col, row) shows the item at index row * ColCount + col. The grid
// paints each cell from its item (while something listens to DrawCell), frames the cell under the
// mouse with a raised bevel (sunken while pressed), reports presses through ClickMyCell and offers
// the round's board operations.
class TMyDrawGrid : public TMyCustomGrid
{
    Q_OBJECT
    Q_PROPERTY(bool ShowBevel READ ShowBevel WRITE SetShowBevel)
    Q_PROPERTY(bool StretchImg READ StretchImg WRITE SetStretchImg)
    Q_PROPERTY(bool ShowTextHelp READ ShowTextHelp WRITE SetShowTextHelp)
    Q_PROPERTY(bool ShowTextOnly READ ShowTextOnly WRITE SetShowTextOnly)
    Q_PROPERTY(QFont FontSymbols READ FontSymbols WRITE SetFontSymbols)
    Q_PROPERTY(QFont FontText READ FontText WRITE SetFontText)
    Q_PROPERTY(QColor FontSymbolsColor READ FontSymbolsColor WRITE SetFontSymbolsColor)
    Q_PROPERTY(QColor FontTextColor READ FontTextColor WRITE SetFontTextColor)

public:
    static constexpr int ItemCount = 100;

    explicit TMyDrawGrid(QWidget* parent = nullptr);
    ~TMyDrawGrid() override;

    bool ShowBevel() const { return m_showBevel; }
    bool StretchImg() const { return m_stretchImg; }
    bool ShowTextHelp() const { return m_showTextHelp; }
    bool ShowTextOnly() const { return m_showTextOnly; }
    QFont FontSymbols() const { return m_fontSymbols; }
    QFont FontText() const { return m_fontText; }
    QColor FontSymbolsColor() const { return m_fontSymbolsColor; }
    QColor FontTextColor() const { return m_fontTextColor; }

    // Shows or hides the frame lines at once.
    void SetShowBevel(bool showBevel);
    // These three repaint every cell when the value changes.
    void SetStretchImg(bool stretchImg);
    void SetShowTextHelp(bool showTextHelp);
    void SetShowTextOnly(bool showTextOnly);
    // Fonts and their colours are used from the next paint on; nothing is repainted now.
    void SetFontSymbols(const QFont& font);
    void SetFontText(const QFont& font);
    void SetFontSymbolsColor(const QColor& color);
    void SetFontTextColor(const QColor& color);

    // The item at `index` (0 .. 99), its Index stamped with `index`; nullptr outside that range.
    CellItem* Item(int index);
    // Places `item` at `index` and stamps its Index; indices outside 0 .. 99 are ignored.
    void SetItem(int index, CellItem* item);

    // ColCount * RowCount.
    int CellCount() const;
    // The cleared items among the board's first CellCount items.
    int ClearedCount() const;
    // Exchanges the items over the board's cells at random and repaints the board.
    void Shuffle();
    // Chooses a random uncleared cell with a text as the new target and returns its text; the
    // empty string, with TargetIndex unchanged, when there is no such cell.
    QString NextTarget();
    int TargetIndex() const { return m_targetIndex; }
    // The target named by the round's model, which chooses it among its own cells.
    void SetTargetIndex(int index) { m_targetIndex = index; }

    // row * ColCount + col; -1 for a cell that is not on the board.
    int CellIndex(int col, int row) const;
    // The index of the cell under a point in grid pixels; -1 over no cell.
    int CellIndexAt(int x, int y) const;

    // The text of the item under the mouse at the last press, move or release.
    QString HoverText() const { return m_hoverText; }
    // A cell is held down and shows the sunken frame.
    bool Pressed() const { return m_pressed; }

    // Shows `symbols` on the board: item i shows symbol i (at most ItemCount), every other item is
    // cleared.
    void showBoard(const QList<BoardSymbol>& symbols);
    // Clears every item and forgets its content; no flash or frame of the board before stays.
    void ClearBoard();

    // Marks a cell for a moment as the answer to a press: a right press (drawn with the cell's
    // picture although the cell is cleared already), a wrong one, or the right cell shown after a
    // wrong press. A new mark of the same cell replaces the old one.
    enum class Flash { Right, Wrong, Answer };
    void flashCell(int index, Flash kind);
    // The cell that keys move and press (-1: none). The arrows move it to the neighbouring cell
    // (Right at a row's end goes on at the next row's first cell, the last cell to the first; Left
    // the other way), Return and Space press it as a click does, F1 asks for its help.
    int FocusCell() const { return m_focusCell; }
    void SetFocusCell(int index);
    // Whether a screen reader may hear a cell's description (practice), or only its place (test).
    bool DescribeCells() const { return m_describeCells; }
    void SetDescribeCells(bool describe) { m_describeCells = describe; }

    static constexpr int FlashMs = 450;

    // The text help line as written under a picture: a text at least `colWidth` wide loses two
    // characters at a time until it is narrower than `colWidth` less the width of "....", and
    // gets "..." appended.
    static QString ShortenedTextHelp(const QString& text, const QFontMetrics& metrics, int colWidth);

signals:
    // Raised after each cell is painted; without a receiver the cells are not painted at all.
    void DrawCell(int col, int row, const QRect& rect);
    // A press of any mouse button over a cell of the board; a double click raises it twice.
    void ClickMyCell(TMyDrawGrid* sender, int ACol, int ARow, int Idx, Qt::MouseButton button);
    // Every mouse move over the grid, after HoverText and the frame are updated.
    void GridMouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    // The keys moved the focus cell: a keyboard user points at it as a mouse user hovers.
    void FocusCellMoved(int index);
    // F1 on the focus cell.
    void HelpRequested(int index);

protected:
    void drawCell(QPainter& painter, int col, int row, const QRect& rect) override;
    QColor effectiveLineColor() const override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class CellItem;

    enum class FrameStyle { Raised, Sunken };
    class FrameLine;
    // Called by the items: SetCleared releases the press, the other setters repaint their cell.
    void ReleasePress() { m_pressed = false; }
    void RepaintCellOf(int index);

    // Min(CellCount, ItemCount): the items that are on the board.
    int boardSize() const;
    void press(QMouseEvent* event);
    void trackMouse(const QPoint& position, bool press);
    void placeFrame(const QRect& cell, FrameStyle style);
    void hideFrame();
    void drawFlash(QPainter& painter, const QRect& rect, Flash kind);
    void drawFocusFrame(QPainter& painter, const QRect& rect);
    void drawMapCellFrame(QPainter& painter, const QRect& rect);
    void clearFlashes();
    // The picture a cell of this item shows; throws "Resource %s not found" for a library picture
    // that cannot be had.
    const QImage& cellPicture(const CellItem& item);
    PictureLibrary* paintLibrary(const QString& fileName);
    const QImage& blankPicture();
    void reportPaintError(const AppError& error);

    std::array<CellItem*, ItemCount> m_items{};
    std::array<FrameLine*, 4> m_frame{};
    bool m_showBevel = true;
    bool m_stretchImg = false;
    bool m_showTextHelp = true;
    bool m_showTextOnly = false;
    QFont m_fontSymbols;
    QFont m_fontText;
    QColor m_fontSymbolsColor;
    QColor m_fontTextColor;
    int m_targetIndex = 0;
    QString m_hoverText;
    bool m_pressed = false;
    // Libraries looked up during the paint in progress, so that a paint looks each up once.
    QHash<QString, PictureLibrary*> m_paintLibraries;
    QImage m_blankPicture;
    bool m_paintErrorPending = false;
    QHash<int, Flash> m_flashes;
    int m_focusCell = -1;
    bool m_describeCells = false;
    friend class GridAccessible;
    QList<unsigned> m_cellAccessibleIds; // the cells' interfaces for screen readers
    QTimer* m_flashTimer = nullptr;
};
