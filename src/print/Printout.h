// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPainter;

// A printout for a coach, laid out on pages of whatever paper the printer or the PDF has. It is made
// of parts, each starting on a page of its own under its title (the quiz, then its answer key):
// blocks of a fixed height in millimetres flow down the pages, in one or more columns, the first
// column filled before the next. Every page has its part's title at the top and its number at the
// foot.
class Printout
{
public:
    // Paints a block into its place, given in the device's pixels; `mm` is one millimetre in them.
    using PaintFunction = std::function<void(QPainter& painter, const QRectF& place, qreal mm)>;

    // The page margins and the bands of the title and the page number, in millimetres.
    static constexpr qreal Margin = 11;
    static constexpr qreal TitleBand = 11;
    static constexpr qreal FootBand = 6;
    static constexpr qreal ColumnGap = 6;

    explicit Printout(const QString& documentTitle) : m_documentTitle(documentTitle) {}

    const QString& documentTitle() const { return m_documentTitle; }
    void beginPart(const QString& title, int columns = 1);
    // A block across the page at the top of the part's first page, before its columns.
    void addIntro(qreal heightMm, PaintFunction paint);
    void addBlock(qreal heightMm, PaintFunction paint);

    // Where each block goes on pages of `pageSizeMm` (the paper without its margins).
    struct Placement
    {
        int page = 0;
        QRectF place; // millimetres from the top left of the printable area
        const PaintFunction* paint = nullptr;
    };
    QList<Placement> layOut(const QSizeF& pageSizeMm, QStringList* pageTitles = nullptr) const;

    // Sets the device's margins, lays the printout out on its pages and paints them; the number of
    // pages.
    int paint(QPagedPaintDevice& device) const;

private:
    struct Block
    {
        qreal height = 0;
        PaintFunction paint;
    };
    struct Part
    {
        QString title;
        int columns = 1;
        QList<Block> intro;
        QList<Block> blocks;
    };

    QString m_documentTitle;
    QList<Part> m_parts;
};
