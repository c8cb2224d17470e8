// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/BoardLoader.h"

#include "content/Catalogue.h"
#include "content/NumberedText.h"
#include "domain/TestNumbers.h"
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

quint8 CellLook::of(SymbolKind kind, qint32 value)
{
    switch (kind) {
    case SymbolKind::MapSymbol:
        return MapSymbol;
    case SymbolKind::Description:
        return value < TestNumbers::FirstLibraryNumber ? FontSymbol : LibraryPicture;
    case SymbolKind::Line:
        break;
    }
    return LibraryPicture;
}

QList<BoardSymbol> BoardLoader::LoadBoard(const TTypesItem& entry, const QList<quint8>& looks,
                                          const BoardSource& source, int maxCells)
{
    const int count = std::min(static_cast<int>(entry.Values.size()), maxCells);
    if (count == 0)
        throw AppError(QString::fromLatin1(Msg::TestWithoutSymbols), {QString::number(entry.TestNumber)});
    const QString& languageCode = source.languageCode;
    const QString& libraryName = source.libraryName;
    const QString libraryText =
        libraryName.chopped(std::min<qsizetype>(LibraryExtensionLength, libraryName.size())) + languageCode;
    QList<BoardSymbol> symbols(count);
    // Font symbols need the symbol font, every other kind the picture library.
    QList<qint32> fontSymbols;
    bool needsLibrary = false;
    for (int i = 0; i < count; ++i) {
        symbols[i].look = i < looks.size() ? looks[i] : quint8(CellLook::LibraryPicture);
        if (symbols[i].look == CellLook::FontSymbol)
            fontSymbols.append(entry.Values[i]);
        else
            needsLibrary = true;
    }
    PictureLibrary* library = needsLibrary ? &PictureLibrary::require(libraryName) : nullptr;
    if (!fontSymbols.isEmpty())
        requireGlyphs(source.symbolFont, fontSymbols);

    QImage work;
    for (int i = 0; i < count; ++i) {
        const qint32 v = entry.Values[i];
        const QString number = QString::number(v);
        BoardSymbol& symbol = symbols[i];
        symbol.symbolChar = QString(QChar(static_cast<char16_t>(v & 0xFF)));
        symbol.libraryName = libraryName;
        symbol.resourceName = source.prefixV + number;
        symbol.number = v;

        switch (symbol.look) {
        case CellLook::FontSymbol: {
            symbol.text = requiredText(source.legendsBase + QLatin1Char('.') + languageCode, v);
            symbol.addText = ReadNumberedText(LegendsAddBase + languageCode, v);
            if (work.isNull()) {
                const qreal ratio = Desktop::pictureRatio();
                work = QImage(QSize(qCeil(source.cellWidth * ratio), qCeil(FontSymbolHeight * ratio)),
                              QImage::Format_RGB32);
                work.setDevicePixelRatio(ratio);
            }
            drawFontSymbol(work, symbol.symbolChar, source.symbolFont, source.symbolColour);
            symbol.pictureLarge = resizedCanvas(work, FontSymbolWidth, FontSymbolHeight);
            break;
        }
        case CellLook::MapSymbol: {
            symbol.resourceName = source.prefixB + number;
            symbol.text = requiredText(source.symbolsBase + QLatin1Char('.') + languageCode, v);
            symbol.addText = ReadNumberedText(SymbolsAddBase + languageCode, v);
            symbol.pictureLarge =
                resizedCanvas(libraryPicture(library, symbol.resourceName), MapSymbolSize, MapSymbolSize);
            break;
        }
        default: {
            symbol.pictureV = libraryPicture(library, source.prefixV + number);
            symbol.text = requiredText(libraryText, v);
            symbol.addText = ReadNumberedText(LibraryAddBase + languageCode, v);
            referPicture(symbol.pictureI, library, libraryName, source.prefixI + number);
            referPicture(symbol.pictureN, library, libraryName, source.prefixN + number);
            break;
        }
        }
    }
    return symbols;
}
