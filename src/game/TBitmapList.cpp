#include "game/TBitmapList.h"

#include "game/TMyDrawGrid.h"

TBitmapList::TBitmapList(QObject* owner) : QObject(owner) {}

void TBitmapList::SetCleared(bool cleared)
{
    if (auto* grid = qobject_cast<TMyDrawGrid*>(parent()))
        grid->ReleasePress();
    if (m_cleared == cleared)
        return;
    m_cleared = cleared;
    Changed();
}

void TBitmapList::SetSymbolChar(const QString& symbolChar)
{
    if (m_symbolChar == symbolChar)
        return;
    m_symbolChar = symbolChar;
    Changed();
}

void TBitmapList::SetLibraryName(const QString& libraryName)
{
    if (m_libraryName == libraryName)
        return;
    m_libraryName = libraryName;
    Changed();
}

void TBitmapList::SetResourceName(const QString& resourceName)
{
    if (m_resourceName == resourceName)
        return;
    m_resourceName = resourceName;
    Changed();
}

void TBitmapList::SetKind(quint8 kind)
{
    if (m_kind == kind)
        return;
    m_kind = kind;
    Changed();
}

void TBitmapList::Changed()
{
    if (auto* grid = qobject_cast<TMyDrawGrid*>(parent()))
        grid->RepaintCellOf(m_index);
}
