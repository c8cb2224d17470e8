#pragma once

#include <QByteArray>
#include <QString>

// A binary resource container (made by `rcc -binary`) mounted under a root of its own, so that
// files of two containers never shadow each other. A file that is not such a container is refused
// like a missing one.
class ResourceContainer
{
public:
    ResourceContainer() = default;
    ~ResourceContainer();
    ResourceContainer(const ResourceContainer&) = delete;
    ResourceContainer& operator=(const ResourceContainer&) = delete;

    // Mounts the container file at `path`; false when it is missing or not a container.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return !m_root.isEmpty(); }

    // ":/<root>/<name>", the path of a file in the container.
    QString pathOf(const QString& name) const;
    bool contains(const QString& name) const;
    // The file's bytes; empty when the container has no such file.
    QByteArray read(const QString& name) const;
    const QString& filePath() const { return m_file; }

private:
    QString m_file;
    QString m_root;
};
