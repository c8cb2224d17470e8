#include "platform/ResourceContainer.h"

#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <atomic>

namespace {
QString newRoot()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("/container%1").arg(++counter);
}
} // namespace

ResourceContainer::~ResourceContainer()
{
    close();
}

bool ResourceContainer::open(const QString& path)
{
    close();
    if (!QFileInfo(path).isFile())
        return false;
    const QString root = newRoot();
    if (!QResource::registerResource(path, root))
        return false;
    m_file = path;
    m_root = root;
    return true;
}

void ResourceContainer::close()
{
    if (m_root.isEmpty())
        return;
    QResource::unregisterResource(m_file, m_root);
    m_root.clear();
    m_file.clear();
}

QString ResourceContainer::pathOf(const QString& name) const
{
    return QLatin1Char(':') + m_root + QLatin1Char('/') + name;
}

bool ResourceContainer::contains(const QString& name) const
{
    if (!isOpen() || name.isEmpty())
        return false;
    const QFileInfo info(pathOf(name));
    return info.exists() && info.isFile();
}

QByteArray ResourceContainer::read(const QString& name) const
{
    if (!contains(name))
        return {};
    QFile file(pathOf(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
