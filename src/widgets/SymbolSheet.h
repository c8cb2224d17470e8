// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QScrollArea>
#include <functional>

// A sheet of symbol tiles that scrolls: each tile shows a picture on a tinted ground and tells its
// own text when the mouse rests on it. Pictures are asked for when a tile is first painted, so a
// sheet of hundreds of symbols opens without decoding the pictures nobody scrolls to.
class SymbolSheet : public QScrollArea
{
    Q_OBJECT
public:
    struct Tile
    {
        QColor tint;
        QString toolTip;
    };
    using PictureOf = std::function<QImage(int tile)>;

    explicit SymbolSheet(QWidget* parent = nullptr);

    void setTiles(const QList<Tile>& tiles, QSize tileSize, PictureOf pictureOf);
    int tileCount() const { return static_cast<int>(m_tiles.size()); }
    const Tile& tile(int index) const { return m_tiles.at(index); }
    // The tile under a point of the sheet's canvas; -1 over none.
    int tileAt(QPoint canvasPoint) const;
    QRect tileRect(int index) const;

private:
    class Canvas;
    int columns() const;
    const QImage& pictureOf(int index);

    QList<Tile> m_tiles;
    QSize m_tileSize{48, 48};
    PictureOf m_pictureOf;
    QHash<int, QImage> m_pictures;
};
