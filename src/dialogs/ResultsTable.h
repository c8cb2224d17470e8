#pragma once

#include <QList>

class QTableWidget;

// The look of a results table: four columns (rank, name, time, errors) of the given widths, a header
// row and a fixed rank column, no grid lines, a vertical scroll bar only, rows selected whole.
void setUpResultsTable(QTableWidget* table, const QList<int>& columnWidths, int rows);
