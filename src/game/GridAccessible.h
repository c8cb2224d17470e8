// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

class TMyDrawGrid;

// The symbol grid as a screen reader sees it: a table whose cells say where they are ("row 2,
// column 3") and, where the grid allows it (practice), what they show. In a test a cell never
// tells its description, which would give the answer away.
class GridAccessible : public QAccessibleWidget
{
public:
    explicit GridAccessible(TMyDrawGrid* grid);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // Makes the grid's interface known to Qt's accessibility (once per program).
    static void install();

    TMyDrawGrid* grid() const;
};
