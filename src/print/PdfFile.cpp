// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PdfFile.h"

#include "platform/Files.h"
#include "print/Printout.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLocale>
#include <QPdfWriter>

namespace {
// Device pixels per inch of the PDF's drawing: fine enough that no rounding shows at any zoom.
constexpr int Resolution = 1200;
constexpr char Creator[] = "Quillon 2";
} // namespace

QPageSize PdfFile::defaultPaper()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                              : QPageSize(QPageSize::A4);
}

std::optional<QPageSize> PdfFile::paperNamed(const QString& name)
{
    if (name.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::A4);
    if (name.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
        return QPageSize(QPageSize::Letter);
    return std::nullopt;
}

int PdfFile::write(const Printout& printout, const QString& path, const QPageSize& paper)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(Resolution);
        writer.setPageSize(paper);
        writer.setTitle(printout.documentTitle());
        writer.setCreator(QString::fromLatin1(Creator));
        pages = printout.paint(writer);
    }
    Files::replaceWhole(QFileInfo(path).absoluteFilePath(), buffer.data());
    return pages;
}
