// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FontRegistry.h"

#include "platform/AppError.h"
#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QRawFont>

namespace FontRegistry {
namespace {
// Family -> file of the fonts this process installed.
QHash<QString, QString>& installedFiles()
{
    static QHash<QString, QString> files;
    return files;
}
} // namespace

int add(const QString& fileName)
{
    const QString path = Files::find(fileName);
    if (path.isEmpty())
        return -1;
    const int id = QFontDatabase::addApplicationFont(path);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const QString& family : QFontDatabase::applicationFontFamilies(id))
        installedFiles().insert(family, absolute);
    return id;
}

void remove(int id)
{
    if (id < 0)
        return;
    for (const QString& family : QFontDatabase::applicationFontFamilies(id))
        installedFiles().remove(family);
    QFontDatabase::removeApplicationFont(id);
}

QString fileOfFamily(const QString& family)
{
    return installedFiles().value(family);
}

QString requireFamily(const QString& fileName, const QString& family)
{
    if (const QString installed = fileOfFamily(family); !installed.isEmpty())
        return installed;
    const QString found = Files::find(fileName);
    const QString path = QDir::current().absoluteFilePath(found.isEmpty() ? fileName : found);
    if (found.isEmpty())
        throw AppError(QString::fromLatin1(Msg::FileNotFound)).inFile(path);
    if (add(fileName) < 0 || fileOfFamily(family).isEmpty())
        throw AppError(QString::fromLatin1(Msg::FontNotInstalled)).inFile(path);
    return fileOfFamily(family);
}

QList<uint> missingGlyphs(const QFont& font, const QList<uint>& codes)
{
    QFont own = font;
    own.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoFontMerging));
    const QRawFont raw = QRawFont::fromFont(own);
    if (!raw.isValid() || raw.familyName().compare(font.family(), Qt::CaseInsensitive) != 0)
        return codes;
    QList<uint> missing;
    for (const uint code : codes) {
        if (!raw.supportsCharacter(code))
            missing.append(code);
    }
    return missing;
}

} // namespace FontRegistry
