#include "dialogs/ResultsTable.h"

#include "results/ResultsGrid.h"

#include <QHeaderView>

namespace {
constexpr int RowHeight = 18;
} // namespace

void setUpResultsTable(ResultsGrid* table, const QList<int>& columnWidths, int rows)
{
    table->setRowCount(rows);
    table->verticalHeader()->setDefaultSectionSize(RowHeight);
    table->horizontalHeader()->setFixedHeight(RowHeight);
    table->setShowGrid(false);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    for (int c = 0; c < ResultsModel::Columns && c < columnWidths.size(); ++c)
        table->setColumnWidth(c, columnWidths[c]);
}
