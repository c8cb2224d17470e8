// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GridAccessible.h"

#include "content/Language.h"
#include "game/TMyDrawGrid.h"

#include <QAccessible>

namespace {

// One cell of the grid. Cells are not widgets; Qt keeps their interfaces by id, so they are made
// once per cell and looked up again.
class CellAccessible : public QAccessibleInterface
{
public:
    CellAccessible(TMyDrawGrid* grid, int index) : m_grid(grid), m_index(index) {}

    bool isValid() const override { return m_grid != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::Cell; }

    QString text(QAccessible::Text t) const override
    {
        const int cols = std::max(1, m_grid->ColCount());
        if (t == QAccessible::Name)
            return LoadString(StringId::CellPosition).arg(m_index / cols + 1).arg(m_index % cols + 1);
        if (t == QAccessible::Description && m_grid->DescribeCells()) {
            const CellItem* item = m_grid->Item(m_index);
            return item && !item->Cleared() ? item->Text : QString();
        }
        return {};
    }

    QRect rect() const override
    {
        const int cols = std::max(1, m_grid->ColCount());
        const QRect local = m_grid->CellBounds(m_index % cols, m_index / cols);
        return QRect(m_grid->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.focused = m_grid->hasFocus() && m_grid->FocusCell() == m_index;
        const CellItem* item = m_grid->Item(m_index);
        s.disabled = !item || item->Cleared();
        return s;
    }

    int index() const { return m_index; }

private:
    TMyDrawGrid* m_grid;
    int m_index;
};

QAccessibleInterface* gridFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TMyDrawGrid") && object && object->isWidgetType())
        return new GridAccessible(static_cast<TMyDrawGrid*>(object));
    return nullptr;
}

} // namespace

GridAccessible::GridAccessible(TMyDrawGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

TMyDrawGrid* GridAccessible::grid() const
{
    return static_cast<TMyDrawGrid*>(widget());
}

int GridAccessible::childCount() const
{
    return grid()->CellCount();
}

QAccessibleInterface* GridAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    // one interface per cell, kept by the grid for as long as it lives
    QList<unsigned>& ids = grid()->m_cellAccessibleIds;
    if (ids.size() <= index)
        ids.resize(TMyDrawGrid::ItemCount, 0);
    if (ids[index] == 0 || !QAccessible::accessibleInterface(ids[index]))
        ids[index] = QAccessible::registerAccessibleInterface(new CellAccessible(grid(), index));
    return QAccessible::accessibleInterface(ids[index]);
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const CellAccessible*>(child);
    return cell ? cell->index() : -1;
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const
{
    const QPoint local = grid()->mapFromGlobal(QPoint(x, y));
    return child(grid()->CellIndexAt(local.x(), local.y()));
}

QAccessibleInterface* GridAccessible::focusChild() const
{
    return grid()->hasFocus() ? child(grid()->FocusCell()) : nullptr;
}

void GridAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    (void)installed;
}
