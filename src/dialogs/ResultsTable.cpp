#include "dialogs/ResultsTable.h"

#include <QHeaderView>
#include <QTableWidget>

namespace {
constexpr int Columns = 4;
constexpr int RowHeight = 18;
} // namespace

void setUpResultsTable(QTableWidget* table, const QList<int>& columnWidths, int rows)
{
    table->setColumnCount(Columns);
    table->setRowCount(rows);
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(RowHeight);
    table->setShowGrid(false);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    for (int c = 0; c < Columns && c < columnWidths.size(); ++c)
        table->setColumnWidth(c, columnWidths[c]);
}
