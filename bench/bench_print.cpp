// SPDX-License-Identifier: GPL-3.0-or-later
// Printing: the handout of every map symbol written as a PDF file, against a bare Qt program's PDF of
// as many pages of plain text.
#include "BenchEnv.h"
#include "print/PdfFile.h"
#include "print/PrintStyle.h"
#include "print/Printouts.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

namespace {

constexpr int LinesPerPage = 50;

// The pages of the map symbols' handout, written once.
int handoutPages()
{
    static const int pages = [] {
        const Printout handout = Printouts::handout(SymbolKind::MapSymbol);
        return PdfFile::write(handout, BenchEnv::instance().filePath(QStringLiteral("pages.pdf")),
                              QPageSize(QPageSize::A4));
    }();
    return pages;
}

// The floor: a PDF of as many A4 pages as the handout has, each a title and 50 lines of text in
// the printouts' font, written by QPdfWriter into memory.
void BM_PdfTextPages(benchmark::State& state)
{
    guarded(state, [&] {
        const int pages = handoutPages();
        qint64 size = 0;
        for (auto _ : state) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            {
                QPdfWriter writer(&buffer);
                writer.setResolution(1200);
                writer.setPageSize(QPageSize(QPageSize::A4));
                QPainter painter(&writer);
                const qreal line = writer.height() / qreal(LinesPerPage + 2);
                for (int page = 0; page < pages; ++page) {
                    if (page > 0)
                        writer.newPage();
                    painter.setFont(PrintStyle::font(PrintStyle::TitleSize, true));
                    painter.drawText(QPointF(0, line), QStringLiteral("Page %1").arg(page + 1));
                    painter.setFont(PrintStyle::font(PrintStyle::SmallSize));
                    for (int l = 0; l < LinesPerPage; ++l)
                        painter.drawText(
                            QPointF(0, line * (l + 2)),
                            QStringLiteral("Line %1 of page %2: a symbol and its name").arg(l).arg(page));
                }
            }
            size = buffer.size();
        }
        state.counters["pages"] = pages;
        state.counters["bytes"] = static_cast<double>(size);
    });
}
BENCHMARK(BM_PdfTextPages)->Unit(benchmark::kMillisecond);

// `--print-handout map`: the handout of every map symbol made and written as a PDF file.
void BM_MapHandoutPdf(benchmark::State& state)
{
    guarded(state, [&] {
        const QString path = BenchEnv::instance().filePath(QStringLiteral("handout.pdf"));
        int pages = 0;
        for (auto _ : state) {
            const Printout handout = Printouts::handout(SymbolKind::MapSymbol);
            pages = PdfFile::write(handout, path, QPageSize(QPageSize::A4));
        }
        state.counters["pages"] = pages;
        state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
    });
}
BENCHMARK(BM_MapHandoutPdf)->Unit(benchmark::kMillisecond);

} // namespace
