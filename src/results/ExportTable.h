// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// A table of a file for a coach: named columns of one type each, and rows of values.
struct ExportTable
{
    enum class Type {
        Text,     // QString
        Integer,  // qint64
        Duration, // qint64 milliseconds
        Moment,   // qint64 milliseconds since 1970 UTC
    };
    struct Column
    {
        // The header of the CSV file, and of the spreadsheet unless `sheetName` is given (a duration
        // is a count of milliseconds in the CSV, a time of day in the spreadsheet).
        QString name;
        Type type = Type::Text;
        QString sheetName = {};

        QString spreadsheetName() const { return sheetName.isEmpty() ? name : sheetName; }
    };

    // The spreadsheet's sheet name.
    QString title;
    QList<Column> columns;
    // One value per column, of the column's type.
    QList<QVariantList> rows;
};
