// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/ResultsFile.h"

#include <QAbstractTableModel>
#include <QTableView>

// What a results grid shows: a heading row and rows of ranked results. The cells of a result row are
// worked out from its record when they are asked for (its names decoded then), so showing a million
// results costs no more than keeping a reference to their list.
class ResultsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int Columns = 4;
    static constexpr int RankColumn = 0;
    static constexpr int NameColumn = 1;
    static constexpr int TimeColumn = 2;
    static constexpr int ErrorsColumn = 3;

    using QAbstractTableModel::QAbstractTableModel;

    // Model rows are the grid's rows below the heading row.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Rows below the heading row; rows past the records are blank.
    void setResultRows(int rows);
    void setHeading(int column, const QString& text);
    QString heading(int column) const;
    // Result row r (from 1) shows the rank r and record r - 1; there are as many rows as records.
    void showRecords(const RankedResults& ranked);
    void showRecords(const QList<TResultRecord>& ranked) { showRecords(RankedResults(ranked)); }
    // Every result row blank; the number of rows stays.
    void blankRows();

private:
    int m_rows = 0;
    RankedResults m_records;
    QString m_headings[Columns];
};

// The table of ranked results of the winner dialog and the results viewer: four columns (rank,
// name, time, errors), the heading row fixed at the top. Rows are counted as the user sees them:
// row 0 is the heading row, result rows start at 1.
class ResultsGrid : public QTableView
{
    Q_OBJECT

public:
    explicit ResultsGrid(QWidget* parent = nullptr);

    ResultsModel* resultsModel() const { return m_model; }

    int rowCount() const;
    // At least the heading row.
    void setRowCount(int rows);
    QString cellText(int row, int column) const;

    // Selects columns 1 to the last of a result row and scrolls it into view.
    void highlightRow(int row);
    // The result row whose cells are selected; -1 when none is.
    int highlightedRow() const;

private:
    ResultsModel* m_model;
};
