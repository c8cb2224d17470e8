// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/CellItem.h"

#include "game/TMyDrawGrid.h"

CellItem::CellItem(QObject* owner) : QObject(owner) {}

void CellItem::SetCleared(bool cleared)
{
    if (auto* grid = qobject_cast<TMyDrawGrid*>(parent()))
        grid->ReleasePress();
    if (m_cleared == cleared)
        return;
    m_cleared = cleared;
    Changed();
}

void CellItem::SetSymbolChar(const QString& symbolChar)
{
    if (m_symbolChar == symbolChar)
        return;
    m_symbolChar = symbolChar;
    Changed();
}

void CellItem::SetLibraryName(const QString& libraryName)
{
    if (m_libraryName == libraryName)
        return;
    m_libraryName = libraryName;
    Changed();
}

void CellItem::SetResourceName(const QString& resourceName)
{
    if (m_resourceName == resourceName)
        return;
    m_resourceName = resourceName;
    Changed();
}

void CellItem::SetKind(quint8 kind)
{
    if (m_kind == kind)
        return;
    m_kind = kind;
    Changed();
}

void CellItem::Changed()
{
    if (auto* grid = qobject_cast<TMyDrawGrid*>(parent()))
        grid->RepaintCellOf(m_index);
}
