// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/RankedResults.h"
#include "results/ResultRecord.h"

#include <QString>
#include <chrono>
#include <functional>

class QSaveFile;

// A name as the results file keeps it: its first 25 characters, exactly where they fit the slot.
QString storedName(const QString& name);

// The results of one test as the last load (or the last test of a trim) left them, best first.
RankedResults& ResultsTable();

// Ranking: `a` ranks after `b` when it has more errors or, with equal errors, a longer time, where
// times compare by minutes, seconds and milliseconds of the hour (hours do not count).
bool ranksAfter(const TResultRecord& a, const TResultRecord& b);
// Puts records best first; records that do not rank against each other keep their order.
void rankResults(QList<TResultRecord>& records);

// Calls `visit` with every whole record of the results file at `path`, in file order, reading only
// (a missing file is not created and gives none). Returns the size of a cut last record, which is
// left out (0 when the file ends on a whole record). Throws the file's error.
qint64 forEachStoredResult(const QString& path, const std::function<void(const TResultRecord&)>& visit);
// The bytes after the last whole record of the results file at `path`: a record cut short (by a
// copy cut short, or a write of an older version stopped), which readers leave out and the next
// write drops. 0 when the file ends on a whole record or is missing.
qint64 cutRecordBytes(const QString& path);

// The results file to read: the one in the folder that holds the user's data (DataFolder), found
// without regard to letter case, else the one the program folder still holds, else the path a new
// one gets. The names of the trim's side files, kept in the same folder.
QString resultsFileName();
QString temporaryResultsFileName();
inline constexpr char TrimListFileName[] = "TMP.Dat";
// The results file's own name (the same in every language), found without regard to letter case.
inline constexpr char ResultsFileBareName[] = "Results.dat";

// Every change of the results file (an append, a trim, a clear) holds its lock, the file of this
// name beside it, from reading the file to its last write: a change by another copy of the program
// on the same folder is waited for a moment, then refused with "The results file is in use by
// another copy of the program", so that neither loses a record.
QString resultsLockFileName();

// Adds a record at the end of the results file, creating the file when missing. A cut last record
// is dropped first so that records stay 72-byte aligned; every whole record stays.
void AppendResult(const TResultRecord& record);
// Loads the results of one test into ResultsTable(), best first, and returns their count. Creates
// an empty results file when none exists (where the folder allows it). Damaged records of the test
// are left out, `damaged` receives their count; so is a cut last record (cutRecordBytes).
int LoadRankedResults(qint32 testNumber, int* damaged = nullptr);
// Replaces the results file atomically with the 20 best results of each test, tests in the order of
// their first record, each test's damaged records after its best (a cut last record is dropped);
// "TMP.Dat" lists the kept records' test numbers. On failure the results file stays as it was.
// Returns how many results it removed: the file as read under the lock, which may hold results
// another copy of the program saved since CountResultsBeyondBest.
int KeepBestResults();
// How many results a KeepBestResults would remove now.
int CountResultsBeyondBest();
// Deletes the results file; a missing file is no error, a file that cannot be deleted is. A results
// file that only the program folder holds (which cannot be deleted) is hidden behind an empty one in
// the user's data folder.
void ClearResults();

// Tests replace the final step of a trim, the commit of the new results file; an empty function
// restores QSaveFile::commit.
using ResultsCommit = std::function<bool(QSaveFile&)>;
void setResultsCommitOverride(ResultsCommit commit);
// Tests shorten the wait for another copy's lock; zero restores the program's moment (3 s).
void setResultsLockWait(std::chrono::milliseconds wait);
