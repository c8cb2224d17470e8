// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/TabbedFile.h"

#include "platform/AppError.h"
#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

TabbedFile readTabbedFile(const QString& fileName, const QStringList& header)
{
    TabbedFile table;
    QFile file;
    Files::openForRead(file, fileName);
    table.path = QFileInfo(file).absoluteFilePath();
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        Files::throwFileError(file, EIO);
    const auto damaged = [&table](int line) {
        return AppError(QString::fromLatin1(Msg::DamagedFile)).inFile(table.path).atLine(line);
    };
    const QList<QByteArray> lines = Files::splitLines(data);
    bool headerSeen = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = QString::fromLatin1(lines[i]);
        const int line = int(i + 1);
        if (text.trimmed().isEmpty())
            continue;
        const QStringList cells = text.split(QLatin1Char('\t'));
        if (!headerSeen) {
            if (cells != header)
                throw damaged(line);
            headerSeen = true;
            continue;
        }
        if (cells.size() != header.size())
            throw damaged(line);
        table.rows.append(cells);
        table.lines.append(line);
    }
    if (!headerSeen)
        throw damaged(1);
    return table;
}
