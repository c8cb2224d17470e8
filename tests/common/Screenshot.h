// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QString>
#include <QTest>
#include <QWidget>

// Saves a grab of the widget as PNG into QUILL_SCREENSHOT_DIR, when that is set.
inline void saveScreenshot(QWidget* widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("QUILL_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(widget->grab().save(QDir(folder).filePath(name)));
}
