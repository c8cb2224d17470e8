// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include "results/ResultsFile.h"

class ResultsGrid;

// The look of a results table: four columns (rank, name, time, errors) of the given widths, a fixed
// heading row, no grid lines, a vertical scroll bar only; `rows` rows counting the heading row.
void setUpResultsTable(ResultsGrid* table, const QList<int>& columnWidths, int rows);

// Shows ranked records in a results grid (rows = records + 1, heading texts, rank, name, "n:ss",
// errors) and selects columns 1..last of the last row that matches `current` by stored name, exact
// time and errors. Returns that row, or -1 when no row matches.
int showResults(ResultsGrid* grid, const RankedResults& ranked, const TResultRecord& current);
int showResults(ResultsGrid* grid, const QList<TResultRecord>& ranked, const TResultRecord& current);
// Empties all cells of rows 1..last; the row count and the heading row stay.
void blankResultRows(ResultsGrid* grid);

// Loads, ranks and shows the results of one test; returns their count. With no results the grid's
// rows are blanked and keep their number. Damaged records are left out; `damaged` receives their
// count. Throws the results file's errors.
int LoadTestResults(qint32 testNumber, ResultsGrid* table, const TResultRecord& current,
                    int* damaged = nullptr);
// The same, reporting a failure or the damaged records left out in one message box, and a cut last
// record left out once (until the file changes); returns the count shown.
int ShowTestResults(qint32 testNumber, ResultsGrid* table, const TResultRecord& current);
