// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the shipped content for review, as the program draws it: every glyph of the symbol font
// with its code, IOF number and name, and every picture of the picture library with its name and
// text, on PNG pages.
//
//   quill-contactsheet RUN_DIR CODE_TABLE OUT_DIR

#include "content/NumberedText.h"
#include "content/PictureLibrary.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <cstdio>

namespace {

constexpr int Columns = 8;
constexpr int Rows = 10;
constexpr int CellWidth = 200;
constexpr int CellHeight = 120;
constexpr int PictureHeight = 80;

struct Entry
{
    QImage picture;
    QString caption;
};

void writePages(const QList<Entry>& entries, const QString& outDir, const QString& stem)
{
    const int perPage = Columns * Rows;
    for (int first = 0, page = 1; first < entries.size(); first += perPage, ++page) {
        const int count = std::min<int>(perPage, int(entries.size()) - first);
        const int rows = (count + Columns - 1) / Columns;
        QImage sheet(Columns * CellWidth, rows * CellHeight, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter p(&sheet);
        QFont captionFont(QStringLiteral("DejaVu Sans"));
        captionFont.setPixelSize(11);
        p.setFont(captionFont);
        for (int i = 0; i < count; ++i) {
            const Entry& e = entries[first + i];
            const QRect cell((i % Columns) * CellWidth, (i / Columns) * CellHeight, CellWidth, CellHeight);
            p.setPen(QColor(200, 200, 200));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            const QSize fitted = e.picture.size().scaled(CellWidth - 10, PictureHeight - 6, Qt::KeepAspectRatio);
            const QRect target(cell.left() + (CellWidth - fitted.width()) / 2, cell.top() + 3, fitted.width(),
                               fitted.height());
            p.drawImage(target, e.picture);
            p.setPen(Qt::black);
            p.drawText(cell.adjusted(4, PictureHeight, -4, -2), Qt::TextWordWrap, e.caption);
        }
        p.end();
        const QString file = QStringLiteral("%1/%2-%3.png").arg(outDir, stem).arg(page);
        if (!sheet.save(file))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    }
}

QList<Entry> glyphs(const QString& codeTable)
{
    QList<Entry> entries;
    QFile table(codeTable);
    if (!table.open(QIODevice::ReadOnly))
        return entries;
    const QStringList lines = QString::fromUtf8(table.readAll()).split(QLatin1Char('\n'));
    const QStringList header = lines.value(0).split(QLatin1Char('\t'));
    const int codeColumn = int(header.indexOf(QStringLiteral("code")));
    const int iofColumn = int(header.indexOf(QStringLiteral("iof")));
    const int dirColumn = int(header.indexOf(QStringLiteral("dir")));
    const int nameColumn = int(header.indexOf(QStringLiteral("name")));
    QFont font(QStringLiteral("PictorMarks"));
    font.setPixelSize(64);
    font.setStyleStrategy(QFont::NoFontMerging);
    for (const QString& line : lines.mid(1)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.size() <= std::max({codeColumn, iofColumn, nameColumn}))
            continue;
        const int code = f[codeColumn].toInt();
        QImage picture(190, 77, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter p(&picture);
        p.setFont(font);
        p.setPen(QColor(0, 128, 0));
        p.drawText(picture.rect(), Qt::AlignCenter, QString(QChar(ushort(code))));
        p.end();
        const QString dir = dirColumn >= 0 ? f.value(dirColumn) : QString();
        entries.append({picture, QStringLiteral("%1  %2 %3\n%4").arg(code).arg(f[iofColumn], dir, f[nameColumn])});
    }
    return entries;
}

QList<Entry> pictures(PictureLibrary* library, const QString& prefix, const QString& textFile, int from, int to)
{
    QList<Entry> entries;
    for (int n = from; n <= to; ++n) {
        const QString name = prefix + QString::number(n);
        if (!library->contains(name))
            continue;
        QString caption = name + QStringLiteral("  ") + ReadNumberedText(textFile, n);
        entries.append({library->picture(name), caption});
    }
    return entries;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: quill-contactsheet RUN_DIR CODE_TABLE OUT_DIR\n");
        return 2;
    }
    const QString outDir = QDir(args[3]).absolutePath();
    const QString codeTable = QDir(args[2]).absolutePath();
    QDir().mkpath(outDir);
    QDir::setCurrent(args[1]);
    if (QFontDatabase::addApplicationFont(QStringLiteral("Pictor07.TTF")) < 0)
        std::fprintf(stderr, "the symbol font could not be registered\n");
    writePages(glyphs(codeTable), outDir, QStringLiteral("glyphs"));
    PictureLibrary* library = PictureLibrary::open(QStringLiteral("Bitm1.dll"));
    if (!library) {
        std::fprintf(stderr, "no picture library\n");
        return 1;
    }
    writePages(pictures(library, QStringLiteral("B"), QStringLiteral("Symbols.eng"), 100, 9999), outDir,
               QStringLiteral("map-symbols"));
    QList<Entry> lines;
    for (int n = 990; n <= 1999; ++n) {
        for (const char* prefix : {"V", "I", "N"})
            lines += pictures(library, QString::fromLatin1(prefix), QStringLiteral("Bitm1.eng"), n, n);
    }
    writePages(lines, outDir, QStringLiteral("lines"));
    return 0;
}
