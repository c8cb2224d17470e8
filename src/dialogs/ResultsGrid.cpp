// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ResultsGrid.h"

#include "platform/Clock.h"

#include <QHeaderView>
#include <algorithm>
#include <limits>

int ResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_records.size())
        return {};
    const TResultRecord& record = m_records[index.row()];
    switch (index.column()) {
    case RankColumn:
        return QString::number(index.row() + 1);
    case NameColumn:
        return record.PlayerName;
    case TimeColumn:
        return formatMinutesSeconds(record.Time);
    case ErrorsColumn:
        return QString::number(record.Errors);
    default:
        return {};
    }
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < Columns)
        return m_headings[section];
    return {};
}

Qt::ItemFlags ResultsModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void ResultsModel::setResultRows(int rows)
{
    beginResetModel();
    m_rows = std::max(rows, 0);
    m_records.truncate(m_rows);
    endResetModel();
}

void ResultsModel::setHeading(int column, const QString& text)
{
    if (column < 0 || column >= Columns || m_headings[column] == text)
        return;
    m_headings[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QString ResultsModel::heading(int column) const
{
    return column >= 0 && column < Columns ? m_headings[column] : QString();
}

void ResultsModel::showRecords(const RankedResults& ranked)
{
    beginResetModel();
    m_records = ranked; // shared, not copied
    m_rows = static_cast<int>(std::min<qsizetype>(ranked.size(), std::numeric_limits<int>::max()));
    endResetModel();
}

void ResultsModel::blankRows()
{
    beginResetModel();
    m_records.clear();
    endResetModel();
}

ResultsGrid::ResultsGrid(QWidget* parent) : QTableView(parent), m_model(new ResultsModel(this))
{
    setModel(m_model);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
}

int ResultsGrid::rowCount() const
{
    return m_model->rowCount() + 1;
}

void ResultsGrid::setRowCount(int rows)
{
    m_model->setResultRows(rows - 1);
}

QString ResultsGrid::cellText(int row, int column) const
{
    if (row == 0)
        return m_model->heading(column);
    return m_model->index(row - 1, column).data().toString();
}

void ResultsGrid::highlightRow(int row)
{
    const QModelIndex first = m_model->index(row - 1, ResultsModel::NameColumn);
    const QModelIndex last = m_model->index(row - 1, ResultsModel::Columns - 1);
    if (!first.isValid())
        return;
    selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    scrollTo(first);
}

int ResultsGrid::highlightedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row() + 1;
}
