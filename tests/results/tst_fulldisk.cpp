// SPDX-License-Identifier: GPL-3.0-or-later
// Writing results and settings on a file system that is full or read-only: a whole-file rewrite
// never replaces good data, every failure is reported. The file systems are real: a small tmpfs
// mounted in a mount namespace of this process's own, which vanishes with the process.
#include "common/TempWorkDir.h"
#include "platform/AppError.h"
#include "platform/DataFolder.h"
#include "platform/Registry.h"
#include "results/AnswerStore.h"
#include "results/ResultsFile.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

constexpr int RecordSize = 72;

// Set in main(), before any thread exists: whether this process may mount file systems.
bool g_canMount = false;
QByteArray g_mountFailure;

bool writeProcFile(const char* path, const QByteArray& text)
{
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return ok;
}

// Enters a private mount namespace (as root), or a user namespace that maps us to root in it.
void enterMountNamespace()
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (uid == 0 && ::unshare(CLONE_NEWNS) == 0) {
        g_canMount = ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    } else if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0) {
        g_canMount =
            writeProcFile("/proc/self/setgroups", "deny") &&
            writeProcFile("/proc/self/uid_map",
                          QByteArray::number(0) + ' ' + QByteArray::number(uid) + " 1") &&
            writeProcFile("/proc/self/gid_map", QByteArray::number(0) + ' ' + QByteArray::number(gid) + " 1");
    }
    if (!g_canMount)
        g_mountFailure = QByteArray("no mount namespace: ") + ::strerror(errno);
}

TResultRecord result(const QString& name, qint32 test, qint32 errors)
{
    TResultRecord r;
    r.PlayerName = name;
    r.TestName = QStringLiteral("Test %1").arg(test);
    r.TestNumber = test;
    r.Time = (30.0 + errors) / 86400.0;
    r.Errors = errors;
    return r;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AppError& e) {
        return e.text();
    }
    return {};
}

// A tmpfs of `kib` KiB mounted on a temporary folder, made the working directory.
class SmallDisk
{
public:
    explicit SmallDisk(int kib)
    {
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            QByteArray("size=" + QByteArray::number(kib) + "k,mode=0777").constData()) == 0;
        if (m_mounted)
            QDir::setCurrent(m_dir.path());
    }
    ~SmallDisk()
    {
        QDir::setCurrent(m_previous);
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

    // Writes a filler file until the file system has no room left.
    bool fill() const
    {
        const int fd = ::open(QFile::encodeName(filePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        const bool full = errno == ENOSPC;
        // the last partial page too
        while (::write(fd, "x", 1) == 1) {
        }
        ::close(fd);
        return full;
    }
    bool makeReadOnly() const
    {
        return ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                       nullptr) == 0;
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }

private:
    QTemporaryDir m_dir;
    QString m_previous = QDir::currentPath();
    bool m_mounted = false;
};

void appendRecords(int from, int count, qint32 test)
{
    for (int i = from; i < from + count; ++i)
        AppendResult(result(QStringLiteral("runner %1").arg(i), test, i % 5));
}

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (!g_canMount)
            QSKIP(g_mountFailure.constData());
    }

    void appendAcrossPageBoundary();
    void trimWithEarlierListFile();
    void settingsStore();
    void readOnlyResults();
    void takeOverOnFullDisk();
    void statisticsStoreOnFullDisk();
};

void TestFullDisk::appendAcrossPageBoundary()
{
    SmallDisk disk(64);
    QVERIFY(disk.mounted());
    // 56 records end 64 bytes before a page boundary: the next one crosses it
    appendRecords(0, 56, 1);
    QVERIFY(disk.fill());
    const QByteArray before = fileBytes(disk.filePath(QStringLiteral("Results.dat")));
    QCOMPARE(before.size(), 56 * RecordSize);

    QCOMPARE(errorOf([] { AppendResult(result(QStringLiteral("late"), 1, 0)); }),
             QStringLiteral("Disk full"));
    QCOMPARE(fileBytes(disk.filePath(QStringLiteral("Results.dat"))), before);
    QCOMPARE(disk.files(), QStringList({QStringLiteral("Results.dat"), QStringLiteral("filler")}));
    QCOMPARE(LoadRankedResults(1), 56);

    // with room again, the same append lands
    QVERIFY(QFile::remove(disk.filePath(QStringLiteral("filler"))));
    AppendResult(result(QStringLiteral("late"), 1, 0));
    QCOMPARE(LoadRankedResults(1), 57);
}

void TestFullDisk::trimWithEarlierListFile()
{
    SmallDisk disk(64);
    QVERIFY(disk.mounted());
    appendRecords(0, 30, 1);
    appendRecords(30, 26, 2);
    KeepBestResults(); // leaves the list file of this trim
    appendRecords(56, 30, 1);
    QVERIFY(disk.fill());
    const QByteArray results = fileBytes(disk.filePath(QStringLiteral("Results.dat")));
    const QByteArray list = fileBytes(disk.filePath(QStringLiteral("TMP.Dat")));
    QVERIFY(!list.isEmpty());

    QCOMPARE(errorOf([] { KeepBestResults(); }), QStringLiteral("Disk full"));
    QCOMPARE(fileBytes(disk.filePath(QStringLiteral("Results.dat"))), results);
    QCOMPARE(fileBytes(disk.filePath(QStringLiteral("TMP.Dat"))), list);
    QCOMPARE(disk.files(), QStringList({QStringLiteral("Results.dat"), QStringLiteral("TMP.Dat"),
                                        QStringLiteral("filler")}));
}

void TestFullDisk::settingsStore()
{
    SmallDisk disk(64);
    QVERIFY(disk.mounted());
    RegistryKey::setStoreDirectory(disk.filePath(QStringLiteral("config")));
    {
        RegistryKey key(QStringLiteral("Software/Test"));
        key.writeString(QStringLiteral("Name"), QStringLiteral("before"));
        key.commit();
    }
    const QString store = RegistryKey::storeFile();
    const QByteArray before = fileBytes(store);
    QVERIFY(before.contains("before"));
    QVERIFY(disk.fill());

    const QString error = errorOf([] {
        RegistryKey key(QStringLiteral("Software/Test"));
        key.writeString(QStringLiteral("Name"), QStringLiteral("after"));
        key.commit();
    });
    QCOMPARE(error, QStringLiteral("Failed to set data for 'Name'"));
    QCOMPARE(fileBytes(store), before);
    {
        // the key's end after a failed commit leaves the store as it was too
        RegistryKey key(QStringLiteral("Software/Test"));
        key.writeString(QStringLiteral("Name"), QString(3000, QLatin1Char('z')));
    }
    QCOMPARE(fileBytes(store), before);
    RegistryKey::setStoreDirectory({});
}

void TestFullDisk::readOnlyResults()
{
    SmallDisk disk(64);
    QVERIFY(disk.mounted());
    appendRecords(0, 3, 7);
    QVERIFY(disk.makeReadOnly());
    const QByteArray before = fileBytes(disk.filePath(QStringLiteral("Results.dat")));
    // viewing needs no write access
    QCOMPARE(LoadRankedResults(7), 3);
    QCOMPARE(LoadRankedResults(8), 0);
    // saving says why it failed and changes nothing
    QCOMPARE(errorOf([] { AppendResult(result(QStringLiteral("x"), 7, 0)); }),
             QStringLiteral("File access denied"));
    QCOMPARE(errorOf([] { KeepBestResults(); }), QStringLiteral("File access denied"));
    QCOMPARE(fileBytes(disk.filePath(QStringLiteral("Results.dat"))), before);
}

// An installed copy's first write copies the results that its program folder holds into the user's
// data folder. On a full disk that copy fails whole: no part of it hides the old results.
void TestFullDisk::takeOverOnFullDisk()
{
    SmallDisk disk(64);
    QVERIFY(disk.mounted());
    QTemporaryDir program;
    QDir::setCurrent(program.path());
    appendRecords(0, 40, 3);
    QVERIFY(QFile(QDir(program.path()).filePath(QLatin1String(DataFolder::InstalledMark)))
                .open(QIODevice::WriteOnly));
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_DATA_HOME", dataHome);
        DataFolder::reset();
    });
    qputenv("XDG_DATA_HOME", QFile::encodeName(disk.filePath(QStringLiteral("data"))));
    DataFolder::choose(program.path());
    QVERIFY(QDir().mkpath(DataFolder::path()));
    QVERIFY(disk.fill());

    QCOMPARE(errorOf([] { AppendResult(result(QStringLiteral("late"), 3, 0)); }),
             QStringLiteral("Disk full"));
    QCOMPARE(QDir(DataFolder::path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(LoadRankedResults(3), 40);
}

// The statistics store opened on a full disk says that the disk is full, and which file it is.
void TestFullDisk::statisticsStoreOnFullDisk()
{
    SmallDisk disk(64);
    QVERIFY(disk.mounted());
    QVERIFY(disk.fill());
    AnswerStore store(QDir::currentPath());
    try {
        store.open();
        QFAIL("a store on a full disk cannot be opened");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), QStringLiteral("Disk full"));
        QCOMPARE(e.file(), disk.filePath(AnswerStore::fileName()));
    }
}

int main(int argc, char** argv)
{
    enterMountNamespace();
    QCoreApplication app(argc, argv);
    TestFullDisk test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fulldisk.moc"
