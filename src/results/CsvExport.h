#pragma once

#include "domain/SymbolKind.h"

#include <QString>
#include <functional>

class AnswerStore;

// Files for a coach: comma-separated values in UTF-8 with a header row, written atomically (a
// failed export leaves an older file of that name as it was). Failures throw AppError naming the
// file.
namespace CsvExport {

// The symbol's name in the active language, given its kind and number.
using NameOf = std::function<QString(SymbolKind kind, qint32 value)>;

// One row per symbol answered: value,name,attempts,correct,mean_ms,last_seen (UTC, ISO 8601).
// Returns the number of rows.
int writeStatistics(const AnswerStore& store, const NameOf& nameOf, const QString& csvPath);

// A test's name in the active language, given its number; empty for a test it does not know.
using TestNameOf = std::function<QString(qint32 testNumber)>;

// One row per sound result of the results file (read only, never created or changed):
// name,test_number,test_name,time,errors, the time in seconds. The test's name is `testNameOf`'s
// where it gives one, else the name stored with the result (the language it was played in).
// Returns the number of rows; `damaged` receives the count of damaged records left out,
// `cutBytes` the size of a cut last record left out (0 when there is none).
int writeResults(const QString& resultsPath, const QString& csvPath, int* damaged = nullptr,
                 qint64* cutBytes = nullptr, const TestNameOf& testNameOf = {});

} // namespace CsvExport
