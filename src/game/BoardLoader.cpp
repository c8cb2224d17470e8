// SPDX-License-Identifier: GPL-3.0-or-later
// Turning one test of the catalogue into board content: TMyDrawGrid::LoadBoard.

#include "game/TMyDrawGrid.h"

#include "content/Catalogue.h"
#include "content/NumberedText.h"
#include "content/PictureLibrary.h"
#include "platform/AppError.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/FontRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QtMath>
#include <algorithm>

namespace {
// Font symbols are drawn this high (the question picture's height) and kept this wide.
constexpr int FontSymbolHeight = 77;
constexpr int FontSymbolWidth = 180;
// Map-symbol pictures are kept at the size of their cells.
constexpr int MapSymbolSize = 113;
// The canvas of a font symbol and the parts of a kept picture that its source does not cover.
constexpr QRgb PictureBackground = 0xFFFFFFFF;
// The library name loses this many characters ("dll") to name its text file ("Bitm1." + code).
constexpr int LibraryExtensionLength = 3;

// The additional texts have fixed bases.
const QString LegendsAddBase = QStringLiteral("LegendsAdd.");
const QString SymbolsAddBase = QStringLiteral("SymbolsAdd.");
const QString LibraryAddBase = QStringLiteral("Bitm1Add.");

// `source` cut at the right and bottom, or widened with white, to `width` by `height`.
QImage resizedCanvas(const QImage& source, int width, int height)
{
    // at the source's pixel density, so that a sharp picture stays sharp
    const qreal ratio = source.devicePixelRatio();
    QImage result(QSize(qCeil(width * ratio), qCeil(height * ratio)), QImage::Format_RGB32);
    result.setDevicePixelRatio(ratio);
    result.fill(PictureBackground);
    QPainter painter(&result);
    painter.drawImage(0, 0, source);
    return result;
}

// The symbol character drawn on white in the symbol font: centred across the work picture and
// raised from its bottom by a quarter of the character height.
void drawFontSymbol(QImage& work, const QString& symbolChar, QFont font, const QColor& color)
{
    // A glyph missing from the symbol font must not be drawn from another font.
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoFontMerging));
    work.fill(PictureBackground);
    QPainter painter(&work);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int th = metrics.height();
    const int tw = metrics.horizontalAdvance(symbolChar);
    const int y = FontSymbolHeight - th - th / 4;
    const int x = qRound(work.deviceIndependentSize().width()) / 2 - tw / 2;
    painter.setPen(color);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(QColor::fromRgb(PictureBackground));
    painter.drawText(QPoint(x, y + metrics.ascent()), symbolChar);
}

// The map excerpt and the ground sketch are decoded when first shown; a missing one fails here.
void referPicture(LibraryPicture& picture, const PictureLibrary* library, const QString& libraryName,
                  const QString& name)
{
    if (!library->contains(name))
        throw AppError(QString::fromLatin1(Msg::ResourceNotFound), {name}).inFile(library->filePath());
    picture.refer(libraryName, name);
}

// A cell picture of the library; throws "Resource %s not found" naming the library.
const QImage& libraryPicture(const PictureLibrary* library, const QString& name)
{
    if (!library->contains(name))
        throw AppError(QString::fromLatin1(Msg::ResourceNotFound), {name}).inFile(library->filePath());
    return library->picture(name);
}

// The text of `number` in `fileName`; a board cell without its text cannot be played.
QString requiredText(const QString& fileName, qint32 number)
{
    QString text = ReadNumberedText(fileName, number);
    if (!text.isEmpty())
        return text;
    const QString path = Files::find(fileName);
    if (path.isEmpty())
        throw AppError(QString::fromLatin1(Msg::FileNotFound))
            .inFile(QDir::current().absoluteFilePath(fileName));
    throw AppError(QString::fromLatin1(Msg::NoTextForNumber), {QString::number(number)})
        .inFile(QFileInfo(path).absoluteFilePath())
        .atNumber(number);
}

// Every symbol of the board drawn from the symbol font must be in that font, or the cells would
// show another font's letters.
void requireGlyphs(const QFont& font, const QList<qint32>& values)
{
    QList<uint> codes;
    for (const qint32 v : values)
        codes.append(static_cast<uint>(v & 0xFF));
    const QList<uint> missing = FontRegistry::missingGlyphs(font, codes);
    if (missing.isEmpty())
        return;
    const qint32 first = values.at(codes.indexOf(missing.first()));
    QString file = FontRegistry::fileOfFamily(font.family());
    AppError error(QString::fromLatin1(Msg::FontLacksSymbols), {QString::number(first)});
    error.atNumber(first);
    throw error.inFile(file.isEmpty() ? font.family() : file);
}

} // namespace

void TMyDrawGrid::ClearBoard()
{
    clearFlashes();
    hideFrame();
    for (int i = 0; i < ItemCount; ++i) {
        CellItem* item = Item(i);
        item->SetResourceName(QString());
        item->Text.clear();
        item->SetSymbolChar(QString());
        item->SetCleared(true);
        item->PictureV = QImage();
        item->PictureI = QImage();
        item->PictureN = QImage();
        item->PictureLarge = QImage();
    }
}

void TMyDrawGrid::LoadBoard(const TTypesItem& entry, const QString& languageCode, const QString& libraryName,
                            const QString& prefixV, const QString& prefixI, const QString& prefixN,
                            const QString& prefixB, const QString& legendsBase, const QString& symbolsBase)
{
    ClearBoard();
    const int count = std::min(static_cast<int>(entry.Values.size()), ItemCount);
    if (count == 0)
        throw AppError(QString::fromLatin1(Msg::TestWithoutSymbols), {QString::number(entry.TestNumber)});
    try {
        fillBoard(entry.Values.first(count), languageCode, libraryName, {prefixV, prefixI, prefixN, prefixB},
                  legendsBase, symbolsBase);
    } catch (...) {
        // nothing of a board that cannot be played stays on it
        ClearBoard();
        throw;
    }
}

void TMyDrawGrid::fillBoard(const QList<qint32>& values, const QString& languageCode,
                            const QString& libraryName, const PicturePrefixes& prefix,
                            const QString& legendsBase, const QString& symbolsBase)
{
    const QString libraryText =
        libraryName.chopped(std::min<qsizetype>(LibraryExtensionLength, libraryName.size())) + languageCode;
    const int count = static_cast<int>(values.size());
    // Font symbols need the symbol font, every other kind the picture library.
    QList<qint32> fontSymbols;
    bool needsLibrary = false;
    for (int i = 0; i < count; ++i) {
        if (Item(i)->Kind() == CellItem::KindFontSymbol)
            fontSymbols.append(values[i]);
        else
            needsLibrary = true;
    }
    PictureLibrary* library = needsLibrary ? &PictureLibrary::require(libraryName) : nullptr;
    if (!fontSymbols.isEmpty())
        requireGlyphs(FontSymbols(), fontSymbols);

    QImage work;
    for (int i = 0; i < count; ++i) {
        const qint32 v = values[i];
        const QString number = QString::number(v);
        CellItem* item = Item(i);
        item->SetSymbolChar(QString(QChar(static_cast<char16_t>(v & 0xFF))));
        item->SetLibraryName(libraryName);
        item->SetResourceName(prefix.v + number);
        item->Number = v;
        item->SetCleared(false);

        switch (item->Kind()) {
        case CellItem::KindFontSymbol: {
            item->Text = requiredText(legendsBase + QLatin1Char('.') + languageCode, v);
            item->AddText = ReadNumberedText(LegendsAddBase + languageCode, v);
            if (work.isNull() ||
                work.deviceIndependentSize() != QSizeF(DefaultColWidth(), FontSymbolHeight)) {
                const qreal ratio = Desktop::pictureRatio();
                work = QImage(QSize(qCeil(DefaultColWidth() * ratio), qCeil(FontSymbolHeight * ratio)),
                              QImage::Format_RGB32);
                work.setDevicePixelRatio(ratio);
            }
            drawFontSymbol(work, item->SymbolChar(), FontSymbols(), FontSymbolsColor());
            item->PictureLarge = resizedCanvas(work, FontSymbolWidth, FontSymbolHeight);
            break;
        }
        case CellItem::KindMapSymbol: {
            item->SetResourceName(prefix.b + number);
            item->Text = requiredText(symbolsBase + QLatin1Char('.') + languageCode, v);
            item->AddText = ReadNumberedText(SymbolsAddBase + languageCode, v);
            item->PictureLarge =
                resizedCanvas(libraryPicture(library, item->ResourceName()), MapSymbolSize, MapSymbolSize);
            break;
        }
        default: {
            item->PictureV = libraryPicture(library, prefix.v + number);
            item->Text = requiredText(libraryText, v);
            item->AddText = ReadNumberedText(LibraryAddBase + languageCode, v);
            referPicture(item->PictureI, library, libraryName, prefix.i + number);
            referPicture(item->PictureN, library, libraryName, prefix.n + number);
            break;
        }
        }
    }
}
