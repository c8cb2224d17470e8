// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared fixtures of the symbol grid's tests: a working folder with the test picture library and
// text files, a shown grid of the main window's cell shape, pixel checks, catalogue entries and a
// scripted random source.

#include "content/Catalogue.h"
#include "content/PictureLibrary.h"
#include "game/TMyDrawGrid.h"
#include "platform/MessageBoxes.h"
#include "platform/Random.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <initializer_list>
#include <memory>

namespace GridTest {

inline const QString LibraryName = QStringLiteral("Bitm1.dll");

// Loads `item` onto `grid` as a test starts it: each item keeps the look (kind) set on it, the
// symbols are drawn in the grid's symbol font, and a board that cannot be played leaves the grid
// empty.
inline void loadBoard(TMyDrawGrid* grid, const TTypesItem& item, const QString& code)
{
    QList<quint8> looks;
    for (int i = 0; i < TMyDrawGrid::ItemCount; ++i)
        looks.append(grid->Item(i)->Kind());
    BoardSource source;
    source.languageCode = code;
    source.libraryName = LibraryName;
    source.symbolFont = grid->FontSymbols();
    source.symbolColour = grid->FontSymbolsColor();
    source.cellWidth = grid->DefaultColWidth();
    try {
        grid->showBoard(BoardLoader::LoadBoard(item, looks, source, TMyDrawGrid::ItemCount));
    } catch (...) {
        grid->ClearBoard();
        throw;
    }
}

// The main window's cell shape, with colours that tell the parts of a picture apart.
constexpr int CellWidth = 190;
constexpr int CellHeight = 80;
constexpr int LineWidth = 5;
constexpr int Stride = CellWidth + LineWidth;
constexpr int RowStride = CellHeight + LineWidth;
inline const QColor GridColor(0xF0, 0xF0, 0xE0);
inline const QColor LineColor(0xFF, 0x00, 0x80);
inline const QColor Highlight(0xFF, 0xFF, 0x00);
inline const QColor Shadow(0x00, 0x00, 0x80);
inline const QColor TextColor(0x20, 0x40, 0x60);
inline const QColor Blue(0x00, 0x00, 0xFF); // V1, 180 by 77
inline const QColor Red(0xFF, 0x00, 0x00);  // V2, 100 by 50

// A temporary folder made the working directory for its lifetime, holding the fixture texts and,
// unless told otherwise, the fixture picture library.
class FixtureFolder
{
public:
    explicit FixtureFolder(bool withLibrary = true) : m_previous(QDir::currentPath())
    {
        QVERIFY(m_dir.isValid());
        const QDir texts(QStringLiteral(QUILL_TEST_DATA "/loadboard"));
        const QStringList names = texts.entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString& name : names)
            QVERIFY(QFile::copy(texts.filePath(name), m_dir.filePath(name)));
        if (withLibrary)
            QVERIFY(
                QFile::copy(QStringLiteral(QUILL_CONTAINER_DIR "/Bitm1.dll"), m_dir.filePath(LibraryName)));
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }
    ~FixtureFolder()
    {
        QDir::setCurrent(m_previous);
        PictureLibrary::closeAll();
    }
    FixtureFolder(const FixtureFolder&) = delete;
    FixtureFolder& operator=(const FixtureFolder&) = delete;

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

// A shown grid of the main window's cell shape over the fixture folder: every item cleared, a
// DrawCell listener attached, bevel colours of its own, no text help. The messages it reports are
// kept in `errors` instead of being shown.
class ShownGrid
{
public:
    explicit ShownGrid(const QFont& textFont) : m_grid(std::make_unique<TMyDrawGrid>())
    {
        MessageBoxes::setHandler([this](MessageBoxes::Kind, const QString& text) { errors.append(text); });
        m_grid->SetDefaultColWidth(CellWidth);
        m_grid->SetDefaultRowHeight(CellHeight);
        m_grid->SetGridLineWidth(LineWidth);
        m_grid->SetColor(GridColor);
        m_grid->SetGridLineColor(LineColor);
        m_grid->SetShowTextHelp(false);
        m_grid->SetFontText(textFont);
        m_grid->SetFontTextColor(TextColor);
        QPalette palette = m_grid->palette();
        palette.setColor(QPalette::Light, Highlight);
        palette.setColor(QPalette::Dark, Shadow);
        m_grid->setPalette(palette);
        for (int i = 0; i < TMyDrawGrid::ItemCount; ++i)
            m_grid->Item(i)->SetCleared(true);
        QObject::connect(m_grid.get(), &TMyDrawGrid::DrawCell, m_grid.get(), [] {});
        m_grid->resize(m_grid->sizeHint());
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    }
    ~ShownGrid()
    {
        m_grid.reset();
        MessageBoxes::setHandler({});
    }
    ShownGrid(const ShownGrid&) = delete;
    ShownGrid& operator=(const ShownGrid&) = delete;

    TMyDrawGrid* grid() const { return m_grid.get(); }
    QRect cell(int col, int row) const { return m_grid->CellBounds(col, row); }
    QImage grab() const { return m_grid->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // The item at `index` shows the fixture picture `name` and has the text `text`.
    void showPicture(int index, const QString& name, const QString& text = QStringLiteral("Text"))
    {
        CellItem* item = m_grid->Item(index);
        item->SetKind(CellItem::KindLibraryPicture);
        item->SetLibraryName(LibraryName);
        item->SetResourceName(name);
        item->Text = text;
        item->SetCleared(false);
    }

    QStringList errors;

private:
    FixtureFolder m_folder;
    std::unique_ptr<TMyDrawGrid> m_grid;
};

// Whether every pixel of `area` in `image` has the colour `color`.
inline bool uniform(const QImage& image, const QRect& area, const QColor& color)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != color.rgb())
                return false;
    return true;
}

inline int countColor(const QImage& image, const QRect& area, const QColor& color)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == color.rgb();
    return count;
}

inline QColor pixelAt(const QImage& image, int x, int y)
{
    return QColor::fromRgb(image.pixel(x, y));
}

inline TTypesItem entry(std::initializer_list<qint32> values)
{
    TTypesItem item;
    item.TestName = QStringLiteral("Fixture test");
    item.Values = QList<qint32>(values);
    return item;
}

// Replaces the random source with one that returns the scripted values in turn (each taken modulo
// the range), then `fallback` for ever; the real source comes back at the end of the scope.
class ScriptedRandom
{
public:
    explicit ScriptedRandom(QList<int> script, int fallback = 0)
    {
        auto state = std::make_shared<QList<int>>(std::move(script));
        setRandomOverride([state, fallback](int n) {
            if (state->isEmpty())
                return fallback % n;
            return state->takeFirst() % n;
        });
    }
    explicit ScriptedRandom(std::function<int(int)> source) { setRandomOverride(std::move(source)); }
    ~ScriptedRandom() { setRandomOverride({}); }
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;
};

} // namespace GridTest
