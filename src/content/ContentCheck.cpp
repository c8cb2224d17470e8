// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/ContentCheck.h"

#include "content/Checksum.h"
#include "content/ContentFiles.h"
#include "content/Language.h"
#include "platform/Files.h"

#include <QFileInfo>

QStringList ContentCheck::checkedFiles()
{
    QStringList files = {ContentFileName(ContentFiles::LibraryTextsBase),
                         ContentFileName(ContentFiles::LegendsBase)};
    const QString symbols = ContentFileName(ContentFiles::SymbolsBase);
    if (Files::exists(symbols))
        files << symbols;
    return files;
}

QString ContentCheck::firstWrongChecksum()
{
    for (const QString& file : checkedFiles()) {
        if (!CheckFileChecksum(file, ContentChecksumDivisor).matches())
            return QFileInfo(Files::find(file)).absoluteFilePath();
    }
    return {};
}
