// Turning one test of the catalogue into board content: TMyDrawGrid::LoadBoard.

#include "game/TMyDrawGrid.h"

#include "content/Catalogue.h"
#include "content/NumberedText.h"
#include "content/PictureLibrary.h"
#include "platform/AppError.h"

#include <QFontMetrics>
#include <QPainter>
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
    QImage result(width, height, QImage::Format_RGB32);
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
    const int x = work.width() / 2 - tw / 2;
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
        throw AppError(QString::fromLatin1(Msg::ResourceNotFound), {name});
    picture.refer(libraryName, name);
}

} // namespace

void TMyDrawGrid::LoadBoard(const TTypesItem& entry, const QString& languageCode, const QString& libraryName,
                            const QString& prefixV, const QString& prefixI, const QString& prefixN,
                            const QString& prefixB, const QString& legendsBase, const QString& symbolsBase)
{
    const QString libraryText =
        libraryName.chopped(std::min<qsizetype>(LibraryExtensionLength, libraryName.size())) + languageCode;
    // Without the picture library (no such file, or not a library) the board stays as it is.
    PictureLibrary* library = PictureLibrary::open(libraryName);
    if (!library)
        return;

    QImage work;

    for (int i = 0; i < ItemCount; ++i) {
        TBitmapList* item = Item(i);
        item->SetResourceName(QString());
        item->Text.clear();
        item->SetSymbolChar(QString());
        item->SetCleared(true);
        item->PictureV = QImage();
        item->PictureI = QImage();
        item->PictureN = QImage();
        item->PictureLarge = QImage();
    }

    const int count = std::min(static_cast<int>(entry.Values.size()), ItemCount);
    for (int i = 0; i < count; ++i) {
        const qint32 v = entry.Values[i];
        const QString number = QString::number(v);
        TBitmapList* item = Item(i);
        item->SetSymbolChar(QString(QChar(static_cast<char16_t>(v & 0xFF))));
        item->SetLibraryName(libraryName);
        item->SetResourceName(prefixV + number);
        item->Number = v;
        item->SetCleared(false);

        switch (item->Kind()) {
        case TBitmapList::KindFontSymbol: {
            item->Text = ReadNumberedText(legendsBase + QLatin1Char('.') + languageCode, v);
            item->AddText = ReadNumberedText(LegendsAddBase + languageCode, v);
            if (work.size() != QSize(DefaultColWidth(), FontSymbolHeight))
                work = QImage(DefaultColWidth(), FontSymbolHeight, QImage::Format_RGB32);
            drawFontSymbol(work, item->SymbolChar(), FontSymbols(), FontSymbolsColor());
            item->PictureLarge = resizedCanvas(work, FontSymbolWidth, FontSymbolHeight);
            break;
        }
        case TBitmapList::KindMapSymbol: {
            item->SetResourceName(prefixB + number);
            item->Text = ReadNumberedText(symbolsBase + QLatin1Char('.') + languageCode, v);
            item->AddText = ReadNumberedText(SymbolsAddBase + languageCode, v);
            // The item's library is the one opened above.
            item->PictureLarge =
                resizedCanvas(library->picture(item->ResourceName()), MapSymbolSize, MapSymbolSize);
            break;
        }
        default: {
            const QString nameV = prefixV + number;
            // A value without its cell picture ends the filling quietly; that item stays on the
            // board without a text.
            if (!library->contains(nameV))
                return;
            item->PictureV = library->picture(nameV);
            item->Text = ReadNumberedText(libraryText, v);
            item->AddText = ReadNumberedText(LibraryAddBase + languageCode, v);
            referPicture(item->PictureI, library, libraryName, prefixI + number);
            referPicture(item->PictureN, library, libraryName, prefixN + number);
            break;
        }
        }
    }
}
