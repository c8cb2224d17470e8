// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/PictureLibrary.h"
#include "domain/SymbolKind.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QString>

struct TTypesItem;

// How a board cell's picture is had: from the picture library, drawn in the symbol font, or a map
// symbol's picture. (The numbers are the cell items' kinds.)
namespace CellLook {
enum : quint8 { LibraryPicture = 0, FontSymbol = 1, MapSymbol = 3 };
// A description symbol below the first library number is a character of the symbol font; a map
// symbol is a map picture; every other symbol (the special instructions, whole lines) a library
// picture.
quint8 of(SymbolKind kind, qint32 value);
} // namespace CellLook

// One symbol of a board, as the content files give it: its number and names, and its pictures.
struct BoardSymbol
{
    qint32 number = 0;
    quint8 look = CellLook::LibraryPicture;
    QString text;    // the symbol's name
    QString addText; // its explanation for the help window
    QString symbolChar;
    QString libraryName;
    QString resourceName;
    QImage pictureV;     // the library's cell picture
    QImage pictureLarge; // a font symbol drawn large, or a map symbol at its cell's size
    // the map excerpt and the ground sketch, decoded when first shown
    LibraryPicture pictureI;
    LibraryPicture pictureN;
};

// Where a board's content comes from: the language's texts, the picture library and its picture
// names (prefix + number), and the font that draws the font symbols at the board's cell width.
struct BoardSource
{
    QString languageCode;
    QString libraryName = QStringLiteral("Bitm1.dll");
    QString prefixV = QStringLiteral("V");
    QString prefixI = QStringLiteral("I");
    QString prefixN = QStringLiteral("N");
    QString prefixB = QStringLiteral("B");
    QString legendsBase = QStringLiteral("Legends");
    QString symbolsBase = QStringLiteral("Symbols");
    QFont symbolFont;
    QColor symbolColour = Qt::black;
    int cellWidth = 190;
};

namespace BoardLoader {

// The symbols of one test of the catalogue, at most `maxCells`, value i with `looks[i]` (a library
// picture where `looks` ends). Font symbols get the symbol drawn in the source's font, map symbols
// the picture "B<n>", other symbols the library pictures "V<n>", "I<n>", "N<n>". A board that could
// not be played is refused: a test without values, a picture library that is missing or damaged,
// a value without its text or its pictures, a symbol the font cannot draw. The error names the file
// and the number at fault.
QList<BoardSymbol> LoadBoard(const TTypesItem& entry, const QList<quint8>& looks, const BoardSource& source,
                             int maxCells);

} // namespace BoardLoader
