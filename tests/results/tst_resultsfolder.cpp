// SPDX-License-Identifier: GPL-3.0-or-later
// Where the results file lives: in a program folder the user may write to (a portable copy), or in
// the user's data folder for an installed copy, which takes over a results file left in the
// program folder without losing a record.
#include "content/Language.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "results/ResultsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

constexpr int RecordSize = 72;

TResultRecord result(const QString& name, qint32 errors)
{
    TResultRecord r;
    r.PlayerName = name;
    r.TestName = QStringLiteral("Rock");
    r.TestNumber = 7;
    r.Time = (40.0 + errors) / 86400.0;
    r.Errors = errors;
    return r;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList names(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestResultsFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void folderChosenAtStart();
    void readOnlyProgramFolder();
    void programFolderFoundThroughLink();
    void programFolderResultsTakenOverAtFirstWrite();

private:
    QString userFolder() const { return m_home->path() + QStringLiteral("/Dovetail/Quillon"); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_program;
};

void TestResultsFolder::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Dovetail"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    Language::activateBuiltIn();
}

void TestResultsFolder::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_program = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home->path()));
}

void TestResultsFolder::cleanup()
{
    DataFolder::reset();
    Desktop::setExecutablePathOverride({});
    QFile::setPermissions(m_program->path(), QFile::permissions(m_program->path()) | QFileDevice::WriteOwner);
}

void TestResultsFolder::folderChosenAtStart()
{
    const QString program = m_program->path();
    // a copy in a folder of its own keeps its results beside it
    DataFolder::choose(program);
    QVERIFY(!DataFolder::isUserFolder());
    QCOMPARE(DataFolder::path(), program);
    AppendResult(result(QStringLiteral("Ann"), 0));
    QCOMPARE(names(program), QStringList{QStringLiteral("Results.dat")});

    // an installed copy keeps them in the user's data folder, also where the folder is writable
    QVERIFY(writeFile(QDir(program).filePath(QLatin1String(DataFolder::InstalledMark)), "installed\n"));
    DataFolder::choose(program);
    QVERIFY(DataFolder::isUserFolder());
    QCOMPARE(DataFolder::path(), userFolder());
    // the folder is made when something is written, not when it is named
    QVERIFY(!QFileInfo::exists(userFolder()));
}

// A copy in a folder that the user may not write to keeps the results in the user's data folder.
void TestResultsFolder::readOnlyProgramFolder()
{
    const QString program = m_program->path();
    QVERIFY(QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (::access(QFile::encodeName(program).constData(), W_OK) == 0)
        QSKIP("this user may write to a read-only folder (root): the install check covers the case");
    DataFolder::choose(program);
    QVERIFY(DataFolder::isUserFolder());
    QCOMPARE(DataFolder::path(), userFolder());
}

// The program's files: share/quillon2 beside bin/ for an installed copy, else the executable's own
// folder; a link to the executable (a desktop's, a user's) is followed first.
void TestResultsFolder::programFolderFoundThroughLink()
{
    const QDir root(m_program->path());
    QVERIFY(root.mkpath(QStringLiteral("usb")) && root.mkpath(QStringLiteral("usr/bin")) &&
            root.mkpath(QStringLiteral("usr/share/quillon2")) && root.mkpath(QStringLiteral("links")));
    QVERIFY(writeFile(root.filePath(QStringLiteral("usb/quill")), "program"));
    QVERIFY(writeFile(root.filePath(QStringLiteral("usr/bin/quill")), "program"));
    QVERIFY(QFile::link(QStringLiteral("../usb/quill"), root.filePath(QStringLiteral("links/portable"))));
    QVERIFY(
        QFile::link(QStringLiteral("../usr/bin/quill"), root.filePath(QStringLiteral("links/installed"))));
    const QString usb = QFileInfo(root.filePath(QStringLiteral("usb"))).canonicalFilePath();
    const QString share = QFileInfo(root.filePath(QStringLiteral("usr/share/quillon2"))).canonicalFilePath();
    const struct
    {
        const char* executable;
        QString folder;
    } layouts[] = {
        {"usb/quill", usb}, {"links/portable", usb}, {"usr/bin/quill", share}, {"links/installed", share}};
    for (const auto& layout : layouts) {
        Desktop::setExecutablePathOverride(root.filePath(QString::fromLatin1(layout.executable)));
        QVERIFY2(Desktop::programFolder() == layout.folder, layout.executable);
    }
}

void TestResultsFolder::programFolderResultsTakenOverAtFirstWrite()
{
    const QString program = m_program->path();
    QVERIFY(writeFile(QDir(program).filePath(QLatin1String(DataFolder::InstalledMark)), "installed\n"));
    QByteArray old;
    for (int errors : {3, 1, 2})
        old += result(QStringLiteral("Old %1").arg(errors), errors).encode();
    const QString oldFile = QDir(program).filePath(QStringLiteral("RESULTS.DAT"));
    QVERIFY(writeFile(oldFile, old));
    QVERIFY(QFile::setPermissions(oldFile, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    DataFolder::choose(program);

    // until the first write the program folder's file is read, and nothing is made
    QCOMPARE(LoadRankedResults(7), 3);
    QCOMPARE(ResultsTable().first().PlayerName, QStringLiteral("Old 1"));
    QVERIFY(!QFileInfo::exists(userFolder()));

    // the first write copies it over first; the program folder keeps its file as it was
    AppendResult(result(QStringLiteral("New"), 0));
    const QString ownFile = userFolder() + QStringLiteral("/Results.dat");
    QCOMPARE(fileBytes(ownFile), old + result(QStringLiteral("New"), 0).encode());
    QVERIFY(QFileInfo(ownFile).permissions() & QFileDevice::WriteOwner);
    QCOMPARE(fileBytes(oldFile), old);
    QCOMPARE(LoadRankedResults(7), 4);
    QCOMPARE(ResultsTable().first().PlayerName, QStringLiteral("New"));

    // a trim writes its side files beside the user's results file
    KeepBestResults();
    QCOMPARE(names(userFolder()), QStringList({QStringLiteral("Results.dat"), QStringLiteral("TMP.Dat")}));
    QCOMPARE(names(program),
             QStringList({QLatin1String(DataFolder::InstalledMark), QStringLiteral("RESULTS.DAT")}));

    // clearing cannot remove the program folder's file, and must not bring it back either
    ClearResults();
    QCOMPARE(LoadRankedResults(7), 0);
    QCOMPARE(fileBytes(oldFile), old);
    AppendResult(result(QStringLiteral("After"), 5));
    QCOMPARE(QFileInfo(ownFile).size(), RecordSize);
}

QTEST_MAIN(TestResultsFolder)
#include "tst_resultsfolder.moc"
