// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/Printout.h"

#include "content/Language.h"
#include "print/PrintStyle.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

void Printout::beginPart(const QString& title, int columns)
{
    m_parts.append(Part{title, std::max(1, columns), {}, {}});
}

void Printout::addIntro(qreal heightMm, PaintFunction paint)
{
    if (m_parts.isEmpty())
        beginPart(m_documentTitle);
    m_parts.last().intro.append(Block{heightMm, std::move(paint)});
}

void Printout::addBlock(qreal heightMm, PaintFunction paint)
{
    if (m_parts.isEmpty())
        beginPart(m_documentTitle);
    m_parts.last().blocks.append(Block{heightMm, std::move(paint)});
}

QList<Printout::Placement> Printout::layOut(const QSizeF& pageSizeMm, QStringList* pageTitles) const
{
    QList<Placement> placements;
    const qreal top = TitleBand;
    const qreal bottom = pageSizeMm.height() - FootBand;
    int page = -1;
    const auto newPage = [&](const QString& title) {
        ++page;
        if (pageTitles)
            pageTitles->append(title);
    };
    for (const Part& part : m_parts) {
        newPage(part.title);
        qreal y = top;
        for (const Block& block : part.intro) {
            placements.append({page, QRectF(0, y, pageSizeMm.width(), block.height), &block.paint});
            y += block.height;
        }
        const qreal columnWidth = (pageSizeMm.width() - ColumnGap * (part.columns - 1)) / part.columns;
        qreal columnTop = y;
        int column = 0;
        for (const Block& block : part.blocks) {
            // a block that does not fit goes to the next column, after the last to the next page; a
            // block taller than a page stands alone at the top of one
            if (y + block.height > bottom && y > columnTop) {
                if (++column == part.columns) {
                    column = 0;
                    newPage(part.title);
                    columnTop = top;
                }
                y = columnTop;
            }
            const qreal x = column * (columnWidth + ColumnGap);
            placements.append({page, QRectF(x, y, columnWidth, block.height), &block.paint});
            y += block.height;
        }
    }
    return placements;
}

int Printout::paint(QPagedPaintDevice& device) const
{
    device.setPageMargins(QMarginsF(Margin, Margin, Margin, Margin), QPageLayout::Millimeter);
    const qreal mm = device.logicalDpiY() / 25.4;
    const QSizeF pageMm(device.width() / mm, device.height() / mm);
    QStringList titles;
    const QList<Placement> placements = layOut(pageMm, &titles);
    const int pages = std::max<int>(1, int(titles.size()));

    QPainter painter(&device);
    int placed = 0;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            device.newPage();
        const QRectF titleRect(0, 0, device.width(), (TitleBand - 3) * mm);
        painter.setFont(PrintStyle::font(PrintStyle::TitleSize, true));
        painter.setPen(Qt::black);
        painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         titles.value(page, m_documentTitle));
        painter.setPen(QPen(Qt::black, PrintStyle::ThinLine * mm));
        painter.drawLine(QPointF(0, (TitleBand - 2) * mm), QPointF(device.width(), (TitleBand - 2) * mm));
        for (; placed < placements.size() && placements[placed].page == page; ++placed) {
            const QRectF& p = placements[placed].place;
            painter.save();
            (*placements[placed].paint)(painter,
                                        QRectF(p.x() * mm, p.y() * mm, p.width() * mm, p.height() * mm), mm);
            painter.restore();
        }
        painter.setFont(PrintStyle::font(PrintStyle::SmallSize));
        painter.setPen(Qt::black);
        const QRectF foot(0, device.height() - (FootBand - 1) * mm, device.width(), (FootBand - 1) * mm);
        painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom,
                         LoadString(StringId::PageNumber).arg(page + 1).arg(pages));
    }
    return pages;
}
