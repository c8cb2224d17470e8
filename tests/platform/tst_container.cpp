// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged resource containers: real containers cut short or with one byte changed are opened and
// every file they list is read, without a crash; a damaged one is refused naming the file.
#include "common/TempWorkDir.h"
#include "content/Language.h"
#include "content/ModuleDamage.h"
#include "content/PictureLibrary.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "platform/ResourceContainer.h"

#include <QDir>
#include <QTest>
#include <QtEndian>

class TestContainer : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void mutantsOpenWithoutCrash_data();
    void mutantsOpenWithoutCrash();
    void damagedFilesAreRefusedByName();
};

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Outcome
{
    int opened = 0;
    int refused = 0;
};

// Opens the mutant as the program does and reads every file its root lists. A refused container
// must be reported as damaged naming the file, unless it lacks the container's magic.
bool openAndReadAll(const TempWorkDir& dir, const QByteArray& mutant, Outcome& outcome)
{
    const QString name = QStringLiteral("mutant.dll");
    // a new file each time: rewriting a file in place makes the file system write it out at close
    QFile::remove(dir.filePath(name));
    if (!dir.write(name, mutant))
        return false;
    ResourceContainer container;
    if (!container.open(dir.filePath(name))) {
        ++outcome.refused;
        if (!mutant.startsWith("qres"))
            return !container.damage();
        return container.damage() && container.damage()->file().endsWith(name);
    }
    ++outcome.opened;
    const QStringList files = QDir(container.pathOf(QString())).entryList(QDir::Files | QDir::Hidden);
    for (const QString& file : files)
        (void)container.read(file);
    return true;
}

} // namespace

void TestContainer::cleanup()
{
    MessageBoxes::setHandler({});
    Language::activateBuiltIn();
    PictureLibrary::closeAll();
}

void TestContainer::mutantsOpenWithoutCrash_data()
{
    QTest::addColumn<QString>("path");
    // zstd-compressed text files, and pictures stored as they are
    QTest::newRow("shipped language module") << QStringLiteral(QUILL_RUN_DIR "/quill.eng");
    QTest::newRow("picture library") << QStringLiteral(QUILL_CONTAINER_DIR "/Bitm1.dll");
}

void TestContainer::mutantsOpenWithoutCrash()
{
    QFETCH(QString, path);
    const QByteArray original = readFile(path);
    QVERIFY2(original.startsWith("qres"), qPrintable(path));
    const auto offsetAt = [&](qsizetype at) {
        return qsizetype(qFromBigEndian<quint32>(original.constData() + at));
    };
    const qsizetype header = 24;
    const qsizetype data = offsetAt(12);
    const qsizetype names = offsetAt(16);
    const qsizetype tree = offsetAt(8);
    // rcc writes the header, the files' data, the names and the tree, in that order
    QVERIFY(header <= data && data < names && names < tree && tree < original.size());

    TempWorkDir dir;
    QStringList failures;
    Outcome cut;
    const auto cutAt = [&](qsizetype length) {
        if (!openAndReadAll(dir, original.left(length), cut))
            failures << QStringLiteral("cut to %1 bytes").arg(length);
    };
    for (qsizetype length = 0; length < header; ++length)
        cutAt(length);
    for (qsizetype length = header; length < names; length += 97)
        cutAt(length);
    for (qsizetype length = names; length < original.size(); ++length)
        cutAt(length);
    // The tree ends the file and rcc leaves no node unreachable: every cut loses a node Qt would read.
    QCOMPARE(cut.opened, 0);

    Outcome changed;
    const auto changeAt = [&](qsizetype at) {
        for (const char flip : {'\x01', '\x80', '\xff'}) {
            QByteArray mutant = original;
            mutant[at] = char(mutant[at] ^ flip);
            if (!openAndReadAll(dir, mutant, changed))
                failures << QStringLiteral("byte %1 changed by %2").arg(at).arg(uchar(flip));
        }
    };
    for (qsizetype at = 0; at < header; ++at)
        changeAt(at);
    for (qsizetype at = names; at < original.size(); ++at)
        changeAt(at);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(", "))));
    // both ways out were taken: hashes and time stamps may change, offsets may not
    QVERIFY(changed.opened > 0);
    QVERIFY(changed.refused > 0);
}

void TestContainer::damagedFilesAreRefusedByName()
{
    QStringList shown;
    MessageBoxes::setHandler([&shown](MessageBoxes::Kind, const QString& text) { shown << text; });
    // the language reports a damaged module; the application shows it
    setModuleDamageReporter([](const AppError& error) { MessageBoxes::showError(error); });
    TempWorkDir dir;
    // the tree offset's first byte changed, and the picture library cut short inside its tree
    QByteArray module = readFile(QStringLiteral(QUILL_RUN_DIR "/quill.eng"));
    module[8] = char(module[8] ^ 0xff);
    QVERIFY(dir.write(QStringLiteral("quill.eng"), module));
    const QByteArray library = readFile(QStringLiteral(QUILL_CONTAINER_DIR "/Bitm1.dll"));
    QVERIFY(dir.write(QStringLiteral("Bitm1.dll"), library.chopped(30)));

    // named twice (stored and the user's language), reported once; the built-in language serves
    Language::selectModule(dir.filePath(QStringLiteral("quill")), QStringLiteral("eng"),
                           QStringLiteral("eng"));
    QVERIFY(!Language::hasModule());
    QCOMPARE(LanguageCode(), QStringLiteral("eng"));
    const QString modulePath = QDir::toNativeSeparators(dir.filePath(QStringLiteral("quill.eng")));
    QCOMPARE(shown,
             QStringList{QStringLiteral("The file is damaged or of an unknown kind.\nFile: ") + modulePath});

    std::optional<AppError> damage;
    QVERIFY(!PictureLibrary::open(QStringLiteral("bitm1.DLL"), &damage));
    QVERIFY(damage);
    QCOMPARE(damage->text(), QString::fromLatin1(Msg::DamagedFile));
    QCOMPARE(damage->file(), dir.filePath(QStringLiteral("Bitm1.dll")));
    // a missing library is no damage
    QVERIFY(!PictureLibrary::open(QStringLiteral("Bitm2.dll"), &damage));
    QVERIFY(!damage);
}

QTEST_GUILESS_MAIN(TestContainer)
#include "tst_container.moc"
