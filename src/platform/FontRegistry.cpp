#include "platform/FontRegistry.h"

#include "platform/Files.h"

#include <QFontDatabase>

namespace FontRegistry {

int add(const QString& fileName)
{
    const QString path = Files::find(fileName);
    if (path.isEmpty())
        return -1;
    return QFontDatabase::addApplicationFont(path);
}

void remove(int id)
{
    if (id >= 0)
        QFontDatabase::removeApplicationFont(id);
}

} // namespace FontRegistry
