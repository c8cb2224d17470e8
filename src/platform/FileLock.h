// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <chrono>

// An exclusive lock that copies of the program take on a lock file before they change the file it
// guards. The lock file exists while the lock is held. The system holds the lock for the process:
// a copy that is killed while it holds it leaves the file behind but lets the lock go, and the next
// copy takes it over.
class FileLock
{
public:
    enum class Outcome : quint8 {
        Locked,
        // another holder kept it for the whole wait
        Busy,
        // no lock can be had there: the lock file cannot be made (a read-only folder), or the
        // file system keeps no locks
        Unavailable,
    };

    explicit FileLock(const QString& lockFile);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock, trying again now and then for up to `wait` while another holds it.
    Outcome acquire(std::chrono::milliseconds wait);
    // Lets the lock go and removes the lock file; the destructor does it too.
    void release();

private:
    Outcome tryOnce();

    QFile m_file;
    bool m_locked = false;
};
