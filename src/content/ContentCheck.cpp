#include "content/ContentCheck.h"

#include "content/Checksum.h"
#include "content/Language.h"
#include "platform/Files.h"

#include <QFileInfo>

namespace {
constexpr char SymbolsBase[] = "Symbols.";
} // namespace

QStringList ContentCheck::checkedFiles()
{
    QStringList files = {ContentFileName(LoadString(StringId::Bitm1Base)),
                         ContentFileName(LoadString(StringId::LegendsBase))};
    const QString symbols = ContentFileName(QString::fromLatin1(SymbolsBase));
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
