// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Files.h"

#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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
    // regular files only: a pipe or device of the name is never taken for the file
    const QStringList entries = parent.entryList(QDir::Files | QDir::Hidden);
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
    const int error = errno;
    const QFileInfo info(file.fileName());
    if (error != 0 && error != EIO)
        throw ioErrorFromErrno(error).inFile(info.absoluteFilePath());
    if (!info.exists())
        throw AppError(QString::fromLatin1(Msg::FileNotFound)).inFile(info.absoluteFilePath());
    if (!info.isReadable() || file.error() == QFileDevice::PermissionsError)
        throw AppError(QString::fromLatin1(Msg::FileAccessDenied)).inFile(info.absoluteFilePath());
    throw ioErrorFromErrno(EIO).inFile(info.absoluteFilePath());
}

namespace {

// What the name `path` stands for, following symbolic links.
enum class Kind { Missing, Regular, Folder, Other, BrokenLink };

#ifdef Q_OS_UNIX
struct Identity
{
    dev_t device = 0;
    ino_t inode = 0;
};

// The kind of `path`; a fault that keeps it from being known (a path too long, through a file, not
// to be searched) is thrown naming it.
Kind kindOf(const QString& path, Identity* identity = nullptr)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0) {
        const int error = errno;
        if (error != ENOENT)
            throw ioErrorFromErrno(error).inFile(path);
        struct stat link;
        return ::lstat(native.constData(), &link) == 0 ? Kind::BrokenLink : Kind::Missing;
    }
    if (identity)
        *identity = {info.st_dev, info.st_ino};
    if (S_ISREG(info.st_mode))
        return Kind::Regular;
    return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
}
#else
Kind kindOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? Kind::BrokenLink : Kind::Missing;
    if (info.isFile())
        return Kind::Regular;
    return info.isDir() ? Kind::Folder : Kind::Other;
}
#endif

// Throws the error of a name that is no regular file.
void refuseUnlessRegular(Kind kind, const QString& path, bool mayBeNew)
{
    switch (kind) {
    case Kind::Regular:
        return;
    case Kind::Missing:
        if (mayBeNew)
            return;
        throw AppError(QString::fromLatin1(Msg::FileNotFound)).inFile(path);
    case Kind::Folder:
        throw AppError(QString::fromLatin1(Msg::IsAFolder)).inFile(path);
    case Kind::BrokenLink:
        throw AppError(QString::fromLatin1(Msg::LinkToNothing)).inFile(path);
    case Kind::Other:
        throw AppError(QString::fromLatin1(Msg::NotAFile)).inFile(path);
    }
}

} // namespace

void requireRegular(const QString& path, bool mayBeNew)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    refuseUnlessRegular(kindOf(absolute), absolute, mayBeNew);
}

void openRegular(QFile& file, QIODevice::OpenMode mode)
{
    const QString path = QFileInfo(file.fileName()).absoluteFilePath();
    const bool mayCreate = (mode & QIODevice::WriteOnly) && !(mode & QIODevice::ExistingOnly);
#ifdef Q_OS_UNIX
    // The name is looked at before it is opened, so that a pipe is never waited on nor a device
    // opened; what was opened is then checked to be what was looked at.
    Identity seen;
    const Kind kind = kindOf(path, &seen);
    refuseUnlessRegular(kind, path, mayCreate);
    errno = 0;
    if (!file.open(mode))
        throwOpenError(file);
    struct stat opened;
    if (::fstat(file.handle(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        (kind == Kind::Regular && (opened.st_dev != seen.device || opened.st_ino != seen.inode))) {
        file.close();
        throw AppError(QString::fromLatin1(Msg::NotAFile)).inFile(path);
    }
#else
    refuseUnlessRegular(kindOf(path), path, mayCreate);
    errno = 0;
    if (!file.open(mode))
        throwOpenError(file);
#endif
}

void openForRead(QFile& file, const QString& name)
{
    const QString path = find(name);
    // a name that is no file (a folder, a pipe, a path that cannot be reached) is opened as given,
    // which says what it is
    file.setFileName(path.isEmpty() ? QDir::current().absoluteFilePath(name) : path);
    openRegular(file, QIODevice::ReadOnly);
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
    replaceWith(
        path, [&bytes](QSaveFile& file) { writeAll(file, bytes); }, commit);
}

void writeAll(QFileDevice& file, QByteArrayView bytes)
{
    errno = 0;
    if (file.write(bytes.data(), bytes.size()) != bytes.size())
        throwFileError(file, errno);
}

void replaceWith(const QString& path, const Writer& write, const Commit& commit)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const Kind kind = kindOf(absolute);
    if (kind == Kind::Missing && !QFileInfo(QFileInfo(absolute).absolutePath()).isDir())
        throw AppError(QString::fromLatin1(Msg::FolderNotFound)).inFile(absolute);
    refuseUnlessRegular(kind, absolute, true);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throwFileError(file, errno);
    write(file);
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

QList<QByteArray> splitLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start));
    return lines;
}

} // namespace Files
