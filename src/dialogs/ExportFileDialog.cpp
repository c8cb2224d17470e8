// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ExportFileDialog.h"

#include "content/Language.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

QString askExportFile(QWidget* parent, const QString& caption, const QString& baseName)
{
    const QString filters = LoadString(StringId::CsvFilter);
    QString chosen = filters.section(QLatin1String(";;"), 0, 0);
    QString path = QFileDialog::getSaveFileName(
        parent, caption, QDir::home().filePath(baseName + QLatin1String(".xlsx")), filters, &chosen);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += chosen.contains(QLatin1String("*.csv")) ? QLatin1String(".csv") : QLatin1String(".xlsx");
    return path;
}
