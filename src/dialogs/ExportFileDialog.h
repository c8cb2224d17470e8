// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The file dialog of the exports for a coach: a spreadsheet (.xlsx) or CSV file, starting in the
// home folder with `baseName`; a name typed without an extension gets that of the kind chosen.
// Empty when the user cancels.
QString askExportFile(QWidget* parent, const QString& caption, const QString& baseName);
