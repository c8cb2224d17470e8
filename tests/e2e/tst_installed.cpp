// SPDX-License-Identifier: GPL-3.0-or-later
// An installed copy of the program, as a package or `cmake --install` lays it out: the executable
// in bin/, its files in share/quillon2. QUILL_INSTALLED_PROGRAM names the executable (ctest installs
// this build into a folder of its own first; the CI's package check names the package's
// /usr/bin/quill and runs this as a user who may not write to the program folder).
#include "app/QuillApplication.h"
#include "content/Language.h"
#include "platform/DataFolder.h"
#include "platform/Desktop.h"
#include "results/AnswerStore.h"
#include "results/ResultsFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr char ProgramVariable[] = "QUILL_INSTALLED_PROGRAM";

// Every file under `folder` with its size and time of change: what a run may not alter.
QStringList snapshot(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries << QStringLiteral("%1 %2 %3")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    }
    entries.sort();
    return entries;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestInstalled : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startsToFirstPaintWithoutWritingItsFolder();
    void resultGoesToUserDataFolder();
    void answersAreRecorded();

private:
    QString m_program;
    QString m_folder;
};

void TestInstalled::initTestCase()
{
    m_program = qEnvironmentVariable(ProgramVariable);
    if (m_program.isEmpty())
        QSKIP("QUILL_INSTALLED_PROGRAM names no installed program (ctest sets it after installing)");
    // the folder the program works in is share/quillon2 beside the executable's bin/
    Desktop::setExecutablePathOverride(m_program);
    m_folder = Desktop::programFolder();
    QCOMPARE(m_folder, QFileInfo(QFileInfo(m_program).absolutePath() + QStringLiteral("/../share/quillon2"))
                           .canonicalFilePath());
    for (const char* file : {"Pictor07.TTF", "Bitm1.dll", "quill.eng", "Legends.eng", "INSTALLED"})
        QVERIFY2(QFileInfo::exists(QDir(m_folder).filePath(QLatin1String(file))), file);
}

void TestInstalled::startsToFirstPaintWithoutWritingItsFolder()
{
    const QStringList before = snapshot(m_folder);
    QTemporaryDir config;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILL_EXIT_AT_FIRST_PAINT"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    if (!env.contains(QStringLiteral("DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    // started from elsewhere, as a menu entry starts it
    program.setWorkingDirectory(QDir::tempPath());
    program.start(m_program, {});
    QVERIFY2(program.waitForFinished(60000), "no first paint within a minute");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(program.exitCode() == 0, program.readAllStandardError().constData());
    QCOMPARE(snapshot(m_folder), before);
}

void TestInstalled::resultGoesToUserDataFolder()
{
    // as main() does
    QDir::setCurrent(m_folder);
    DataFolder::choose(QDir::currentPath());
    QVERIFY(DataFolder::isUserFolder());
    const QString dataHome =
        qEnvironmentVariable("XDG_DATA_HOME", QDir::homePath() + QStringLiteral("/.local/share"));
    const QString expected = dataHome + QStringLiteral("/Dovetail/Quillon/Results.dat");
    QCOMPARE(QFileInfo(DataFolder::path()).absoluteFilePath(), QFileInfo(expected).absolutePath());

    const QStringList before = snapshot(m_folder);
    const QByteArray earlier = fileBytes(expected);
    TResultRecord record;
    record.PlayerName = QStringLiteral("Install check");
    record.TestName = QStringLiteral("Rock");
    record.TestNumber = 101;
    record.Time = 65.0 / 86400.0;
    AppendResult(record);
    QCOMPARE(fileBytes(expected), earlier + record.encode());
    QCOMPARE(snapshot(m_folder), before);
}

// The statistics of an installed copy: Qt's SQLite driver is there (the package depends on it) and
// a round's answers reach the user's data folder.
void TestInstalled::answersAreRecorded()
{
    QDir::setCurrent(m_folder);
    DataFolder::choose(QDir::currentPath());
    const QStringList before = snapshot(m_folder);
    AnswerStore store(AnswerStore::defaultFolder());
    QVERIFY(DataFolder::isUserFolder());
    store.open();
    const qint64 earlier = store.answerCount();
    store.beginRound(1, SymbolKind::Description, 101, 46000.5);
    store.record(63, 63, true, 900, 46000.5);
    store.endRound(true, 900, 46000.6);
    QCOMPARE(store.answerCount(), earlier + 1);
    QCOMPARE(snapshot(m_folder), before);
}

int main(int argc, char** argv)
{
    // the application's own names place the user's data folder
    QuillApplication app(argc, argv);
    Language::activateBuiltIn();
    TestInstalled test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_installed.moc"
