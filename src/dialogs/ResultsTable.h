#pragma once

#include <QList>

class ResultsGrid;

// The look of a results table: four columns (rank, name, time, errors) of the given widths, a fixed
// heading row, no grid lines, a vertical scroll bar only; `rows` rows counting the heading row.
void setUpResultsTable(ResultsGrid* table, const QList<int>& columnWidths, int rows);
