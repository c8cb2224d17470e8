// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A table of the program folder kept as tab-separated text: a header line that names the columns,
// then one row per line (blank lines skipped).
struct TabbedFile
{
    QString path; // absolute
    QList<QStringList> rows;
    QList<int> lines; // the line number of each row in the file
};

// Reads the table `fileName` of the working directory (letter case ignored). Throws "File not found"
// naming the file, or "The file is damaged or of an unknown kind" naming the file and the line whose
// header differs from `header` or whose number of cells does.
TabbedFile readTabbedFile(const QString& fileName, const QStringList& header);
