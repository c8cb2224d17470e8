// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "domain/SymbolKind.h"

#include <QString>
#include <functional>

class AnswerStore;

// Files for a coach, of the kind their name's extension says: a spreadsheet (.xlsx) with typed
// columns, else comma-separated values (see CsvFile). Written atomically (a failed export leaves an
// older file of that name as it was); failures throw AppError naming the file.
namespace CoachExport {

// Whether `path` names a spreadsheet rather than a CSV file.
bool isSpreadsheet(const QString& path);

// A symbol's name in the active language, or the number a coach writes for it, given its kind and
// value.
using SymbolText = std::function<QString(SymbolKind kind, qint32 value)>;

// One row per symbol answered, description symbols first, then map symbols, then whole lines:
// kind (description, map, line), iof, name, attempts, correct, mean_ms, last_seen (UTC). Returns the
// number of rows.
int writeStatistics(const AnswerStore& store, const SymbolText& nameOf, const SymbolText& iofOf,
                    const QString& path);

// A test's name in the active language, given its number; empty for a test it does not know.
using TestNameOf = std::function<QString(qint32 testNumber)>;

// One row per sound result of the results file (read only, never created or changed):
// name, test_number, test_name, time_ms, errors. The test's name is `testNameOf`'s where it gives
// one, else the name stored with the result (the language it was played in, cut to 25 characters).
// Returns the number of rows; `damaged` receives the count of damaged records left out,
// `cutBytes` the size of a cut last record left out (0 when there is none).
int writeResults(const QString& resultsPath, const QString& path, int* damaged = nullptr,
                 qint64* cutBytes = nullptr, const TestNameOf& testNameOf = {});

} // namespace CoachExport
