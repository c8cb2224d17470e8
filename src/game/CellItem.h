// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/BoardLoader.h"
#include "content/PictureLibrary.h"
#include "domain/TestNumbers.h"

#include <QImage>
#include <QObject>
#include <QString>

// One cell item of the symbol grid: the pictures, texts and state of the symbol that a cell shows.
// The grid owns its items and moves them between cells; the legend quiz keeps free-standing items
// of its own. The setters repaint the item's cell when the owner is a grid; the public data
// members are assigned directly and repaint nothing.
class CellItem : public QObject
{
    Q_OBJECT

public:
    explicit CellItem(QObject* owner = nullptr);

    bool Cleared() const { return m_cleared; }
    int Index() const { return m_index; }
    QString LibraryName() const { return m_libraryName; }
    QString ResourceName() const { return m_resourceName; }
    QString SymbolChar() const { return m_symbolChar; }
    quint8 Kind() const { return m_kind; }

    // Also releases the owning grid's pressed state, whatever the value.
    void SetCleared(bool cleared);
    void SetSymbolChar(const QString& symbolChar);
    void SetLibraryName(const QString& libraryName);
    void SetResourceName(const QString& resourceName);
    void SetKind(quint8 kind);

    // Repaints the item's own cell when the owner is a grid.
    void Changed();

    // How a cell picture is obtained.
    static constexpr quint8 KindLibraryPicture = CellLook::LibraryPicture;
    static constexpr quint8 KindFontSymbol = CellLook::FontSymbol;
    static constexpr quint8 KindMapSymbol = CellLook::MapSymbol;
    // In description tests, values below this are characters of the symbol font; from here on
    // they are pictures of the library.
    static constexpr qint32 FirstLibraryNumber = TestNumbers::FirstLibraryNumber;

    QString Text;
    QString AddText;
    qint32 Number = 0;
    QImage PictureV;
    // Decoded when first shown.
    LibraryPicture PictureI;
    LibraryPicture PictureN;
    QImage PictureLarge;

private:
    friend class TMyDrawGrid; // stamps Index when it hands out or places the item

    bool m_cleared = false;
    qint32 m_index = 0;
    QString m_libraryName;
    QString m_resourceName;
    QString m_symbolChar;
    quint8 m_kind = KindLibraryPicture;
};
