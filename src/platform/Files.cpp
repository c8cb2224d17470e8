#include "platform/Files.h"

#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace Files {

QString find(const QString& name, const QString& directory)
{
    if (name.isEmpty())
        return {};
    const QDir dir(directory.isEmpty() ? QDir::currentPath() : directory);
    const QFileInfo direct(dir, name);
    if (direct.exists() && direct.isFile())
        return direct.filePath();
    // Only the last component is matched without regard to case.
    const QFileInfo wanted(dir, name);
    const QDir parent = wanted.dir();
    if (!parent.exists())
        return {};
    const QString leaf = wanted.fileName();
    const QStringList entries = parent.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(leaf, Qt::CaseInsensitive) == 0)
            return parent.filePath(entry);
    }
    return {};
}

bool exists(const QString& name)
{
    return !find(name).isEmpty();
}

void throwOpenError(const QFile& file)
{
    const QFileInfo info(file.fileName());
    if (!info.exists())
        throw AppError(QString::fromLatin1(Msg::FileNotFound)).inFile(info.absoluteFilePath());
    if (!info.isReadable() || file.error() == QFileDevice::PermissionsError)
        throw AppError(QString::fromLatin1(Msg::FileAccessDenied)).inFile(info.absoluteFilePath());
    throw ioErrorFromErrno(errno ? errno : EIO).inFile(info.absoluteFilePath());
}

void openForRead(QFile& file, const QString& name)
{
    const QString path = find(name);
    if (path.isEmpty())
        throw AppError(QString::fromLatin1(Msg::FileNotFound)).inFile(QDir::current().absoluteFilePath(name));
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        throwOpenError(file);
}

QByteArray readAll(const QString& name)
{
    QFile file;
    openForRead(file, name);
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ioErrorFromErrno(EIO).inFile(QFileInfo(file).absoluteFilePath());
    return data;
}

void throwFileError(const QFileDevice& file, int errorNumber)
{
    const QString path = QFileInfo(file.fileName()).absoluteFilePath();
    if (errorNumber != 0)
        throw ioErrorFromErrno(errorNumber).inFile(path);
    if (file.error() == QFileDevice::PermissionsError)
        throw AppError(QString::fromLatin1(Msg::FileAccessDenied)).inFile(path);
    throw ioErrorFromErrno(EIO).inFile(path);
}

void replaceWhole(const QString& path, const QByteArray& bytes, const Commit& commit)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throwFileError(file, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        throwFileError(file, errno);
    // The commit's own flush of the last buffered bytes can fail without the commit noticing, so
    // they are flushed (and checked) here first.
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        throwFileError(file, errno);
    errno = 0;
    const bool committed = commit ? commit(file) : file.commit();
    if (!committed)
        throwFileError(file, errno);
}

} // namespace Files
