// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DataFolder.h"

#include "platform/AppError.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>

namespace DataFolder {

namespace {

struct Choice
{
    bool made = false;
    bool user = false;
    QString programFolder;
};

Choice& choice()
{
    static Choice instance;
    return instance;
}

QString userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void makeFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw AppError(QString::fromLatin1(Msg::FileAccessDenied)).inFile(folder);
}

} // namespace

void choose(const QString& programFolder)
{
    Choice& c = choice();
    c.made = true;
    c.programFolder = QFileInfo(programFolder).absoluteFilePath();
    const bool writable = QFileInfo(c.programFolder).isWritable();
    const bool installed = QFileInfo::exists(QDir(c.programFolder).filePath(QLatin1String(InstalledMark)));
    // Without a home there is no user's data folder: the program folder is all there is.
    c.user = (!writable || installed) && !userFolder().isEmpty();
}

void reset()
{
    choice() = Choice();
}

QString path()
{
    const Choice& c = choice();
    if (!c.made)
        return QDir::currentPath();
    return c.user ? userFolder() : c.programFolder;
}

bool isUserFolder()
{
    return choice().made && choice().user;
}

QString find(const QString& name)
{
    const QString own = Files::find(name, path());
    if (!own.isEmpty() || !isUserFolder())
        return own;
    return Files::find(name, choice().programFolder);
}

QString freshFile(const QString& name)
{
    const QString folder = path();
    if (isUserFolder())
        makeFolder(folder);
    const QString own = Files::find(name, folder);
    return own.isEmpty() ? QDir(folder).filePath(name) : own;
}

QString fileForWriting(const QString& name)
{
    const QString target = freshFile(name);
    if (!isUserFolder() || QFileInfo::exists(target))
        return target;
    const QString old = Files::find(name, choice().programFolder);
    if (old.isEmpty())
        return target;
    // The copy is written to a temporary file that takes the name only when complete, so a failed
    // copy (a full disk) leaves no half file that would hide the program folder's one.
    errno = 0;
    if (!QFile::copy(old, target))
        throw ioErrorFromErrno(errno ? errno : EIO).inFile(target);
    // The program folder's file may have been read-only; the user's own copy is written to.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    return target;
}

} // namespace DataFolder
