// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ResultsTable.h"

#include "content/Language.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"

#include "dialogs/ResultsGrid.h"

#include <QFileInfo>
#include <QHeaderView>

namespace {
constexpr int RowHeight = 18;

// The results file whose cut last record was reported last, with the file's size then: a cut is
// said once, until the file changes.
QString& reportedCut()
{
    static QString instance;
    return instance;
}
} // namespace

void setUpResultsTable(ResultsGrid* table, const QList<int>& columnWidths, int rows)
{
    table->setRowCount(rows);
    table->setAccessibleName(LoadString(StringId::ResultsTableName));
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

int showResults(ResultsGrid* grid, const QList<TResultRecord>& ranked, const TResultRecord& current)
{
    return showResults(grid, RankedResults(ranked), current);
}

int showResults(ResultsGrid* grid, const RankedResults& ranked, const TResultRecord& current)
{
    if (!grid)
        return -1;
    ResultsModel* model = grid->resultsModel();
    model->setHeading(ResultsModel::NameColumn, LoadString(StringId::NameHeading));
    model->setHeading(ResultsModel::TimeColumn, LoadString(StringId::TimeHeading));
    model->setHeading(ResultsModel::ErrorsColumn, LoadString(StringId::ErrorsHeading));
    model->showRecords(ranked);

    TResultRecord stored = current;
    stored.PlayerName = storedName(current.PlayerName);
    // the last matching row wins
    const qsizetype found = ranked.lastMatching(stored);
    const int highlighted = found >= 0 ? static_cast<int>(found) + 1 : -1;
    if (highlighted > 0)
        grid->highlightRow(highlighted);
    return highlighted;
}

void blankResultRows(ResultsGrid* grid)
{
    if (grid)
        grid->resultsModel()->blankRows();
}

int LoadTestResults(qint32 testNumber, ResultsGrid* table, const TResultRecord& current, int* damaged)
{
    LoadRankedResults(testNumber, damaged);
    const RankedResults& results = ResultsTable();
    if (results.isEmpty()) {
        blankResultRows(table);
        return 0;
    }
    showResults(table, results, current);
    return static_cast<int>(results.size());
}

int ShowTestResults(qint32 testNumber, ResultsGrid* table, const TResultRecord& current)
{
    int damaged = 0;
    int shown = 0;
    try {
        shown = LoadTestResults(testNumber, table, current, &damaged);
    } catch (const AppError& error) {
        blankResultRows(table);
        MessageBoxes::showError(error);
        return 0;
    }
    const QFileInfo file(resultsFileName());
    const QString path = file.absoluteFilePath();
    if (damaged > 0)
        MessageBoxes::showError(
            AppError(QString::fromLatin1(Msg::DamagedResultsSkipped), {QString::number(damaged)})
                .inFile(path));
    const qint64 cut = cutRecordBytes(path);
    const QString cutFile = cut > 0 ? path + QLatin1Char('\n') + QString::number(file.size()) : QString();
    if (cut > 0 && cutFile != reportedCut())
        MessageBoxes::showError(
            AppError(QString::fromLatin1(Msg::CutRecordLeftOut), {QString::number(cut)}).inFile(path));
    reportedCut() = cutFile;
    return shown;
}
