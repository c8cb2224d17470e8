// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A temporary folder made the working directory for the life of the object, as the program works
// on bare file names in its working directory.
class TempWorkDir
{
public:
    TempWorkDir() : m_previous(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~TempWorkDir() { QDir::setCurrent(m_previous); }
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Writes the bytes as they are (no line-end conversion).
    bool write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    bool copyIn(const QString& source, const QString& name) const
    {
        QFile::remove(filePath(name));
        return QFile::copy(source, filePath(name));
    }
    // Copies the ready program folder in (content, font, picture library), without the results and
    // statistics of someone who played the built program there; its executable only when asked,
    // with its permissions, to be started from here.
    bool copyProgramFolder(bool withExecutable = false) const
    {
        const QString program = QStringLiteral("quill");
        QDirIterator it(QStringLiteral(QUILL_RUN_DIR), QDir::Files);
        while (it.hasNext()) {
            it.next();
            const QString name = it.fileName();
            if (name.startsWith(QLatin1String("Results"), Qt::CaseInsensitive) ||
                name.startsWith(QLatin1String("Statistics"), Qt::CaseInsensitive) ||
                (name == program && !withExecutable))
                continue;
            if (!copyIn(it.filePath(), name))
                return false;
        }
        return !withExecutable ||
               QFile::setPermissions(filePath(program),
                                     QFile::permissions(QStringLiteral(QUILL_RUN_DIR "/quill")));
    }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
