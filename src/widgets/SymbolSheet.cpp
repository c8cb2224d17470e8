// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/SymbolSheet.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace {
constexpr int TileGap = 4;
// The tint shows as a frame this wide around the picture.
constexpr int PictureMargin = 5;
const QColor TileFrame(160, 160, 160);
const QColor SheetBackground(255, 255, 255);
} // namespace

class SymbolSheet::Canvas : public QWidget
{
public:
    explicit Canvas(SymbolSheet* sheet) : QWidget(sheet), m_sheet(sheet) { setMouseTracking(true); }

    QSize sizeHint() const override
    {
        const int cols = m_sheet->columns();
        const int rows = (m_sheet->tileCount() + cols - 1) / cols;
        return {cols * (m_sheet->m_tileSize.width() + TileGap) + TileGap,
                rows * (m_sheet->m_tileSize.height() + TileGap) + TileGap};
    }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(e);
            const int index = m_sheet->tileAt(help->pos());
            if (index >= 0)
                QToolTip::showText(help->globalPos(), m_sheet->tile(index).toolTip, this,
                                   m_sheet->tileRect(index));
            else
                QToolTip::hideText();
            return true;
        }
        return QWidget::event(e);
    }

    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), SheetBackground);
        for (int i = 0; i < m_sheet->tileCount(); ++i) {
            const QRect r = m_sheet->tileRect(i);
            if (!r.intersects(event->rect()))
                continue;
            painter.fillRect(r, m_sheet->tile(i).tint);
            painter.setPen(TileFrame);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            const QImage& picture = m_sheet->pictureOf(i);
            if (picture.isNull())
                continue;
            const QRect room = r.adjusted(PictureMargin, PictureMargin, -PictureMargin, -PictureMargin);
            QSize size = picture.size();
            size.scale(room.size(), Qt::KeepAspectRatio);
            QRect target(QPoint(), size);
            target.moveCenter(room.center());
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, picture);
        }
    }

private:
    SymbolSheet* m_sheet;
};

SymbolSheet::SymbolSheet(QWidget* parent) : QScrollArea(parent)
{
    setWidget(new Canvas(this));
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int SymbolSheet::columns() const
{
    const int width = viewport()->width() > 0 ? viewport()->width() : this->width();
    return std::max(1, (width - TileGap) / (m_tileSize.width() + TileGap));
}

void SymbolSheet::setTiles(const QList<Tile>& tiles, QSize tileSize, PictureOf pictureOf)
{
    m_tiles = tiles;
    m_tileSize = tileSize;
    m_pictureOf = std::move(pictureOf);
    m_pictures.clear();
    widget()->resize(widget()->sizeHint());
    widget()->update();
    verticalScrollBar()->setValue(0);
}

QRect SymbolSheet::tileRect(int index) const
{
    const int cols = columns();
    return {TileGap + (index % cols) * (m_tileSize.width() + TileGap),
            TileGap + (index / cols) * (m_tileSize.height() + TileGap), m_tileSize.width(),
            m_tileSize.height()};
}

int SymbolSheet::tileAt(QPoint canvasPoint) const
{
    const int cols = columns();
    const int col = (canvasPoint.x() - TileGap) / (m_tileSize.width() + TileGap);
    const int row = (canvasPoint.y() - TileGap) / (m_tileSize.height() + TileGap);
    if (canvasPoint.x() < TileGap || canvasPoint.y() < TileGap || col >= cols)
        return -1;
    const int index = row * cols + col;
    if (index >= tileCount() || !tileRect(index).contains(canvasPoint))
        return -1;
    return index;
}

const QImage& SymbolSheet::pictureOf(int index)
{
    auto found = m_pictures.find(index);
    if (found == m_pictures.end())
        found = m_pictures.insert(index, m_pictureOf ? m_pictureOf(index) : QImage());
    return *found;
}
