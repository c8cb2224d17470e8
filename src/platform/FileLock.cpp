// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileLock.h"

#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>
#endif

namespace {
// Tries come quickly at first (a change of the results file takes milliseconds), then less often.
constexpr int FirstPauseMs = 1;
constexpr int LongestPauseMs = 20;
} // namespace

FileLock::FileLock(const QString& lockFile) : m_file(lockFile) {}

FileLock::~FileLock()
{
    release();
}

FileLock::Outcome FileLock::acquire(std::chrono::milliseconds wait)
{
    if (m_locked)
        return Outcome::Locked;
    const QDeadlineTimer deadline(wait);
    int pauseMs = FirstPauseMs;
    for (;;) {
        const Outcome outcome = tryOnce();
        if (outcome != Outcome::Busy || deadline.hasExpired())
            return outcome;
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(pauseMs, deadline.remainingTime() + 1)));
        pauseMs = std::min(pauseMs * 2, LongestPauseMs);
    }
}

#ifdef Q_OS_WIN

// The lock is the first byte of the lock file; the file stays (an open file cannot be removed).
FileLock::Outcome FileLock::tryOnce()
{
    if (!m_file.isOpen() && !m_file.open(QIODevice::ReadWrite))
        return Outcome::Unavailable;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(m_file.handle()));
    OVERLAPPED start = {};
    if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start)) {
        m_locked = true;
        return Outcome::Locked;
    }
    return GetLastError() == ERROR_LOCK_VIOLATION ? Outcome::Busy : Outcome::Unavailable;
}

void FileLock::release()
{
    if (m_locked) {
        OVERLAPPED start = {};
        UnlockFileEx(reinterpret_cast<HANDLE>(_get_osfhandle(m_file.handle())), 0, 1, 0, &start);
        m_locked = false;
    }
    m_file.close();
}

#else

// The lock is flock() on the lock file. The holder removes the file before it lets the lock go, so
// a copy that was waiting on the removed file finds, once it has the lock, that the name no longer
// leads to its file, and tries again on the name.
FileLock::Outcome FileLock::tryOnce()
{
    const QByteArray path = QFile::encodeName(m_file.fileName());
    for (;;) {
        if (!m_file.isOpen() && !m_file.open(QIODevice::ReadWrite))
            return Outcome::Unavailable;
        if (::flock(m_file.handle(), LOCK_EX | LOCK_NB) != 0)
            return errno == EWOULDBLOCK || errno == EINTR ? Outcome::Busy : Outcome::Unavailable;
        struct stat held = {};
        struct stat named = {};
        if (::fstat(m_file.handle(), &held) == 0 && ::stat(path.constData(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            m_locked = true;
            return Outcome::Locked;
        }
        // the holder before removed this file: the lock of the name is on the file it leads to now
        ::flock(m_file.handle(), LOCK_UN);
        m_file.close();
    }
}

void FileLock::release()
{
    if (m_locked) {
        ::unlink(QFile::encodeName(m_file.fileName()).constData());
        ::flock(m_file.handle(), LOCK_UN);
        m_locked = false;
    }
    m_file.close();
}

#endif
