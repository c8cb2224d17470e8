// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AppError.h"

#include <QByteArray>
#include <QString>
#include <optional>

// A binary resource container (made by `rcc -binary`) mounted under a root of its own, so that
// files of two containers never shadow each other. The file is read once into memory, its structure
// checked (Qt trusts every offset in it), and the checked bytes are what Qt is given: a file changed
// on disk afterwards cannot reach Qt. A file that is not a container at all is refused like a
// missing one; a container whose structure does not hold is refused as damaged.
//
// Whatever keeps a QResource into the container beyond a read (a QTranslator loaded from it) must be
// gone before the container closes: Qt reads such files straight from the container's bytes.
class ResourceContainer
{
public:
    ResourceContainer() = default;
    ~ResourceContainer();
    ResourceContainer(const ResourceContainer&) = delete;
    ResourceContainer& operator=(const ResourceContainer&) = delete;

    // Mounts the container file at `path`; false when it is missing, not a container, or damaged.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return !m_root.isEmpty(); }

    // Why the last open() refused a damaged container: "File %s is damaged", naming the file. Empty
    // after a successful open and for a file that is missing or not a container at all.
    const std::optional<AppError>& damage() const { return m_damage; }
    // What the structure check found wrong with that container, in a few words (not translated).
    const char* fault() const { return m_fault; }

    // ":/<root>/<name>", the path of a file in the container.
    QString pathOf(const QString& name) const;
    bool contains(const QString& name) const;
    // The file's bytes; empty when the container has no such file.
    QByteArray read(const QString& name) const;
    const QString& filePath() const { return m_file; }

private:
    void noteDamage(const QString& path, const char* fault);

    QString m_file;
    QString m_root;
    // the bytes Qt reads the container from, kept while it is registered
    QByteArray m_bytes;
    std::optional<AppError> m_damage;
    const char* m_fault = nullptr;
};
