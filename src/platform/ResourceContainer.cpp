// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ResourceContainer.h"

#include "platform/ResourceContainerCheck.h"

#include <QDir>
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

const uchar* registered(const QByteArray& bytes)
{
    return reinterpret_cast<const uchar*>(bytes.constData());
}
} // namespace

ResourceContainer::~ResourceContainer()
{
    close();
}

bool ResourceContainer::open(const QString& path)
{
    close();
    m_damage.reset();
    m_fault = nullptr;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() > ResourceContainerCheck::MaxContainerSize) {
        // Too large for Qt's offsets; only its magic tells whether it was meant to be a container.
        if (ResourceContainerCheck::hasMagic(file.read(4)))
            noteDamage(path, "larger than a container can be");
        return false;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    const ResourceContainerCheck::Result check = ResourceContainerCheck::check(bytes);
    if (check.verdict == ResourceContainerCheck::Verdict::NotContainer)
        return false;
    if (check.verdict == ResourceContainerCheck::Verdict::Damaged) {
        noteDamage(path, check.fault);
        return false;
    }
    const QString root = newRoot();
    m_bytes = std::move(bytes);
    if (!QResource::registerResource(registered(m_bytes), root)) {
        m_bytes.clear();
        return false;
    }
    m_file = path;
    m_root = root;
    return true;
}

void ResourceContainer::noteDamage(const QString& path, const char* fault)
{
    m_fault = fault;
    m_damage = AppError(QString::fromLatin1(Msg::DamagedFile)).inFile(QFileInfo(path).absoluteFilePath());
}

void ResourceContainer::close()
{
    if (m_root.isEmpty())
        return;
    QResource::unregisterResource(registered(m_bytes), m_root);
    m_bytes.clear();
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
