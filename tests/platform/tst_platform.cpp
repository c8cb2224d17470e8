// SPDX-License-Identifier: GPL-3.0-or-later
// The platform layer and the language modules.
#include "common/SpecialFiles.h"
#include "common/TempWorkDir.h"
#include "content/Language.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/GuardedSlot.h"
#include "platform/MessageBoxes.h"
#include "platform/Registry.h"
#include "platform/ResourceContainer.h"
#include "widgets/TrendChart.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void registryKeepsTypes();
    void registryValueNamesAndKeys();
    void caseInsensitiveLookup();
    void onlyRegularFilesAreReadOrReplaced();
    void containerRefusesOtherFiles();
    void errorTextFillsArguments();
    void guardedSlotShowsTheErrorAndTheSignalGoesOn();
    void minutesSeconds_data();
    void minutesSeconds();

    void builtInLanguage();
    void moduleChoice_data();
    void moduleChoice();
    void unshippedLocaleStartsInTheEnglishModule_data();
    void unshippedLocaleStartsInTheEnglishModule();
    void moduleReplacesScreensAndMessages();
    void frenchModuleWritesItsLigature();
    void datesFollowTheLanguage_data();
    void datesFollowTheLanguage();
    void contentFileNames();

private:
    QTemporaryDir m_store;
};

namespace {
QString fixtureModule()
{
    return QStringLiteral(QUILL_CONTAINER_DIR "/quill.deu");
}
} // namespace

void TestPlatform::init()
{
    RegistryKey::setStoreDirectory(m_store.path());
}

void TestPlatform::cleanup()
{
    Language::activateBuiltIn();
    QFile::remove(RegistryKey::storeFile());
}

void TestPlatform::registryKeepsTypes()
{
    {
        RegistryKey key(QStringLiteral("Software\\Dovetail\\Quillon\\2\\"));
        QVERIFY(!key.valueExists(QStringLiteral("TextHelp")));
        key.writeBool(QStringLiteral("TextHelp"), true);
        key.writeInteger(QStringLiteral("HelpFormLeft"), -12);
        key.writeString(QStringLiteral("Name"), QStringLiteral("Arial\twith tab\\ and\nline"));
    }
    // a fresh handle reads what the file holds, with each value's type
    RegistryKey key(QStringLiteral("Software/Dovetail/Quillon/2"));
    QVERIFY(key.readBool(QStringLiteral("TextHelp")));
    QCOMPARE(key.readInteger(QStringLiteral("HelpFormLeft")), -12);
    QCOMPARE(key.readString(QStringLiteral("Name")), QStringLiteral("Arial\twith tab\\ and\nline"));
    try {
        key.readString(QStringLiteral("TextHelp"));
        QFAIL("a number read as text must fail");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), QStringLiteral("Invalid data type for 'TextHelp'"));
        // the message says which file holds the bad value
        QCOMPARE(e.file(), RegistryKey::storeFile());
    }
    try {
        key.readDword(QStringLiteral("Name"));
        QFAIL("a text read as number must fail");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), QStringLiteral("Invalid data type for 'Name'"));
    }
    try {
        key.readDword(QStringLiteral("Absent"));
        QFAIL("a missing value must fail");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), QStringLiteral("Failed to get data for 'Absent'"));
    }
}

void TestPlatform::registryValueNamesAndKeys()
{
    const QString exe = QStringLiteral("/opt/quill/bin/quill");
    {
        RegistryKey locales(QStringLiteral("Software\\Borland\\Locales"));
        locales.writeString(exe, QStringLiteral("deu"));
        locales.writeString(RegistryKey::defaultValueName(), QStringLiteral("fra"));
        locales.writeString(QStringLiteral("C:\\Program Files\\quill.exe"), QStringLiteral("eng"));
        RegistryKey font(QStringLiteral("Software/Dovetail/Quillon/2/FontText"));
    }
    RegistryKey locales(QStringLiteral("Software/Borland/Locales"));
    QCOMPARE(locales.readString(exe), QStringLiteral("deu"));
    QCOMPARE(locales.readString(QString()), QStringLiteral("fra"));
    QCOMPARE(locales.readString(QStringLiteral("C:\\Program Files\\quill.exe")), QStringLiteral("eng"));
    QVERIFY(!locales.valueExists(QStringLiteral("/opt/quill/bin")));
    // an opened key exists in the store although it holds no value
    QFile store(RegistryKey::storeFile());
    QVERIFY(store.open(QIODevice::ReadOnly));
    QVERIFY(store.readAll().contains("Software/Dovetail/Quillon/2/FontText\tkey"));
}

void TestPlatform::caseInsensitiveLookup()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("Legtab.ENG"), "1 x"));
    QVERIFY(Files::exists(QStringLiteral("legtab.eng")));
    QVERIFY(Files::find(QStringLiteral("LEGTAB.eng")).endsWith(QStringLiteral("Legtab.ENG")));
    QVERIFY(!Files::exists(QStringLiteral("legtab.en")));
    QCOMPARE(Files::readAll(QStringLiteral("LegTab.Eng")), QByteArray("1 x"));
    try {
        Files::readAll(QStringLiteral("none"));
        QFAIL("missing file must fail");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), QStringLiteral("File not found"));
    }
}

namespace {} // namespace

// The one whole-file writer writes a regular file or a new name, and through a symbolic link only
// to a regular file; a folder, pipe or socket, or a link to one of them or to nothing, is refused by
// name and left as it is. Reading one is refused at once: a pipe is never waited on.
void TestPlatform::onlyRegularFilesAreReadOrReplaced()
{
    TempWorkDir dir;
    const auto path = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    QVERIFY(makeFifo(path("pipe")));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QVERIFY(makeSocket(path("socket")));
    QVERIFY(dir.write(QStringLiteral("target"), "old"));
    QVERIFY(QFile::link(path("target"), path("link")));
    QVERIFY(QFile::link(path("pipe"), path("link-to-pipe")));
    QVERIFY(QFile::link(path("absent"), path("dangling")));

    const QString special = QStringLiteral("The name is a device, pipe or socket, not a file");
    const struct
    {
        const char* name;
        QString message;
    } refused[] = {{"pipe", special},
                   {"socket", special},
                   {"link-to-pipe", special},
                   {"folder", QStringLiteral("The name is a folder, not a file")},
                   {"dangling", QStringLiteral("The name is a symbolic link to no file")}};
    for (const auto& r : refused) {
        const mode_t before = typeOf(path(r.name));
        try {
            Files::replaceWhole(path(r.name), "new");
            QFAIL(r.name);
        } catch (const AppError& e) {
            QCOMPARE(e.text(), r.message);
            QCOMPARE(e.file(), path(r.name));
        }
        QCOMPARE(typeOf(path(r.name)), before);
        if (r.message == special || r.name == QByteArrayView("folder")) {
            try {
                Files::readAll(path(r.name));
                QFAIL(r.name);
            } catch (const AppError& e) {
                QCOMPARE(e.text(), r.message);
            }
        }
    }
    QCOMPARE(typeOf(path("pipe")), mode_t(S_IFIFO));

    // a link to a regular file: the file gets the new content, the link stays
    Files::replaceWhole(path("link"), "new");
    QCOMPARE(typeOf(path("link")), mode_t(S_IFLNK));
    QCOMPARE(Files::readAll(QStringLiteral("target")), QByteArray("new"));
    // a name too long, a folder that is not there: the cause, not an input/output error number
    const struct
    {
        QString name;
        const char* message;
    } unwritable[] = {{QString(300, QLatin1Char('n')), "The file name is too long"},
                      {QStringLiteral("missing/new"), "The folder of the file does not exist"},
                      {QStringLiteral("target/new"), "A part of the path is a file, not a folder"}};
    for (const auto& u : unwritable) {
        try {
            Files::replaceWhole(dir.filePath(u.name), "new");
            QFAIL(qPrintable(u.name));
        } catch (const AppError& e) {
            QCOMPARE(e.text(), QString::fromLatin1(u.message));
        }
    }
}

void TestPlatform::containerRefusesOtherFiles()
{
    TempWorkDir dir;
    QVERIFY(dir.write(QStringLiteral("quill.abc"), "not a container at all"));
    ResourceContainer c;
    QVERIFY(!c.open(dir.filePath(QStringLiteral("quill.abc"))));
    QVERIFY(!c.open(dir.filePath(QStringLiteral("absent"))));
    QVERIFY(c.open(fixtureModule()));
    QVERIFY(c.contains(QStringLiteral("strings.txt")));
    QVERIFY(!c.contains(QStringLiteral("TForm1.ui")));
    // two containers never shadow each other's files
    ResourceContainer other;
    QVERIFY(other.open(fixtureModule()));
    QVERIFY(other.pathOf(QStringLiteral("x")) != c.pathOf(QStringLiteral("x")));
}

void TestPlatform::guardedSlotShowsTheErrorAndTheSignalGoesOn()
{
    QStringList shown;
    MessageBoxes::setHandler([&shown](MessageBoxes::Kind, const QString& text) { shown.append(text); });
    QObject sender;
    bool nextSlotRan = false;
    connect(&sender, &QObject::objectNameChanged, &sender, guarded([](const QString& name) {
        throw AppError(QString::fromLatin1(Msg::ResourceNotFound), {name});
    }));
    connect(&sender, &QObject::objectNameChanged, &sender, guarded([&nextSlotRan] { nextSlotRan = true; }));
    sender.setObjectName(QStringLiteral("V1"));
    MessageBoxes::setHandler({});
    QVERIFY(nextSlotRan);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown[0].contains(QStringLiteral("Resource V1 not found")), qPrintable(shown[0]));
}

void TestPlatform::errorTextFillsArguments()
{
    QCOMPARE(AppError(QString::fromLatin1(Msg::ResourceNotFound), {QStringLiteral("V1")}).text(),
             QStringLiteral("Resource V1 not found"));
    QCOMPARE(AppError(QString::fromLatin1(Msg::ValueOutOfRange),
                      {QStringLiteral("-2147483647"), QStringLiteral("14")})
                 .text(),
             QStringLiteral("Value must be between -2147483647 and 14"));
    // words of a file are shown as they are written, never as terminal commands nor as placeholders
    AppError hostile(QStringLiteral("%s and %s"), {QStringLiteral("\x1b]0;%s\x07"), QStringLiteral("\x9b"
                                                                                                   "2J")});
    hostile.inFile(QStringLiteral("/tmp/a\nb"));
    QCOMPARE(hostile.text(), QStringLiteral("\\x1b]0;%s\\x07 and \\x9b2J"));
    QCOMPARE(hostile.location(), QStringLiteral("File: /tmp/a\\x0ab"));
    QCOMPARE(ioErrorFromErrno(ENOENT).text(), QStringLiteral("File not found"));
    QCOMPARE(ioErrorFromErrno(ENOSPC).text(), QStringLiteral("Disk full"));
    QCOMPARE(ioErrorFromErrno(EIO).text(), QStringLiteral("I/O error 5"));
}

void TestPlatform::minutesSeconds_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0:00");
    QTest::newRow("83 s") << 83.0 << QStringLiteral("1:23");
    QTest::newRow("hours not shown") << 3600.0 + 65 * 60 - 3600 + 5 << QStringLiteral("5:05");
    QTest::newRow("1 h 2 min") << 3720.0 << QStringLiteral("2:00");
    QTest::newRow("59:59") << 3599.0 << QStringLiteral("59:59");
}

void TestPlatform::minutesSeconds()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    QCOMPARE(formatMinutesSeconds(seconds / 86400.0), text);
}

void TestPlatform::builtInLanguage()
{
    Language::activateBuiltIn();
    QVERIFY(!Language::hasModule());
    QCOMPARE(LanguageCode(), QStringLiteral("eng"));
    QCOMPARE(LoadString(StringId::WalkthroughTitle),
             QStringLiteral("The table of legends CP contains such information : "));
    QCOMPARE(LoadString(StringId::ErrorsHeading), QStringLiteral("Errors "));
    // the ids that held file names stay in the table, for the modules' contract
    QCOMPARE(LoadString(65311), QStringLiteral("bitm1."));
    QCOMPARE(LoadString(1), QString());
    for (const char* screen : {"TForm1", "THelpForm", "TStartDlg", "TWinDlg", "TResultaty", "TSettingsDlg"})
        QVERIFY2(!Language::screenDescription(QString::fromLatin1(screen)).isEmpty(), screen);
}

void TestPlatform::moduleChoice_data()
{
    QTest::addColumn<QStringList>("modules"); // extensions of copies of the fixture module
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("expectedModule"); // extension, or empty for the built-in language
    QTest::newRow("stored value") << QStringList{QStringLiteral("deu")} << QStringLiteral("deu") << QString()
                                  << QStringLiteral("deu");
    QTest::newRow("stored module missing, user's language")
        << QStringList{QStringLiteral("deu")} << QStringLiteral("fra") << QStringLiteral("deu")
        << QStringLiteral("deu");
    QTest::newRow("first two letters")
        << QStringList{QStringLiteral("de")} << QString() << QStringLiteral("deu") << QStringLiteral("de");
    QTest::newRow("nothing fits") << QStringList{QStringLiteral("deu")} << QStringLiteral("fra")
                                  << QStringLiteral("ita") << QString();
    QTest::newRow("no module at all") << QStringList{} << QString() << QStringLiteral("eng") << QString();
    QTest::newRow("stored beats user's")
        << QStringList{QStringLiteral("deu"), QStringLiteral("xyz")} << QStringLiteral("xyz")
        << QStringLiteral("deu") << QStringLiteral("xyz");
}

void TestPlatform::moduleChoice()
{
    QFETCH(QStringList, modules);
    QFETCH(QString, stored);
    QFETCH(QString, user);
    QFETCH(QString, expectedModule);
    TempWorkDir dir;
    for (const QString& ext : modules)
        QVERIFY(dir.copyIn(fixtureModule(), QStringLiteral("quill.") + ext));
    QVERIFY(dir.write(QStringLiteral("quill.ita"), "no container"));
    Language::selectModule(dir.filePath(QStringLiteral("quill")), stored, user);
    if (expectedModule.isEmpty()) {
        QVERIFY(!Language::hasModule());
        QCOMPARE(LanguageCode(), QStringLiteral("eng"));
    } else {
        QVERIFY(Language::moduleFile().endsWith(QStringLiteral("quill.") + expectedModule));
        // the code is the module's string, whatever its file is called
        QCOMPARE(LanguageCode(), QStringLiteral("deu"));
    }
}

void TestPlatform::unshippedLocaleStartsInTheEnglishModule_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("Swedish") << QStringLiteral("sv_SE.UTF-8");
    QTest::newRow("C") << QStringLiteral("C.UTF-8");
    QTest::newRow("POSIX") << QStringLiteral("POSIX");
}

// A system language we ship no module for starts in the shipped English module, exactly as if
// English were chosen, not in the built-in table.
void TestPlatform::unshippedLocaleStartsInTheEnglishModule()
{
    QFETCH(QString, locale);
    TempWorkDir dir;
    for (const char* module : {"quill.eng", "quill.deu", "quill.fra"})
        QVERIFY(dir.copyIn(QStringLiteral(QUILL_RUN_DIR "/") + QLatin1String(module), QLatin1String(module)));
    Language::selectModule(dir.filePath(QStringLiteral("quill")), QString(),
                           Desktop::languageCode3(QLocale(locale)));
    QVERIFY(Language::hasModule());
    QVERIFY2(Language::moduleFile().endsWith(QStringLiteral("quill.eng")),
             qPrintable(Language::moduleFile()));
    const QString chosen = LoadString(StringId::MarkedRouteTitle);
    Language::selectModule(dir.filePath(QStringLiteral("quill")), QStringLiteral("eng"), QString());
    QCOMPARE(chosen, LoadString(StringId::MarkedRouteTitle));
    QVERIFY(!chosen.contains(QLatin1String("routs")));
}

void TestPlatform::moduleReplacesScreensAndMessages()
{
    QVERIFY(Language::activateModuleFile(fixtureModule()));
    QCOMPARE(LoadString(StringId::MainMenuTitle), QStringLiteral("Testart waehlen"));
    QCOMPARE(LoadString(StringId::WalkthroughTitle), QString()); // the module lacks it
    QVERIFY(Language::screenDescription(QStringLiteral("TWinDlg")).contains("Gratulation"));
    try {
        Language::screenDescription(QStringLiteral("TStartDlg"));
        QFAIL("a module without the screen must fail");
    } catch (const AppError& e) {
        QCOMPARE(e.text(), QStringLiteral("Ressource TStartDlg nicht gefunden"));
    }
    QCOMPARE(AppError(QString::fromLatin1(Msg::FileNotFound)).text(), QStringLiteral("Datei nicht gefunden"));
}

// A string table with a letter Latin-1 lacks is built in UTF-8 and read back whole.
void TestPlatform::frenchModuleWritesItsLigature()
{
    QVERIFY(Language::activateModuleFile(QStringLiteral(QUILL_RUN_DIR "/quill.fra")));
    QVERIFY2(LoadString(StringId::AboutText).contains(QStringLiteral("l'\u0153uvre")),
             qPrintable(LoadString(StringId::AboutText)));
    // the letters Latin-1 has read right in the same table
    QCOMPARE(Language::moduleLanguageName(Language::moduleFile()), QStringLiteral("Fran\u00e7ais"));
}

void TestPlatform::datesFollowTheLanguage_data()
{
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("label");
    QTest::newRow("English") << QStringLiteral("quill.eng") << QStringLiteral("5 Dec");
    QTest::newRow("German") << QStringLiteral("quill.deu") << QStringLiteral("5 Dez");
    QTest::newRow("French") << QStringLiteral("quill.fra") << QStringLiteral("5 d\u00e9c");
}

// The progress charts' days are written in the program's language, whatever the system's.
void TestPlatform::datesFollowTheLanguage()
{
    QFETCH(QString, module);
    QFETCH(QString, label);
    QVERIFY(Language::activateModuleFile(QStringLiteral(QUILL_RUN_DIR "/") + module));
    const double fifthOfDecember = QDate(1899, 12, 30).daysTo(QDate(2024, 12, 5)) + 0.5;
    QVERIFY2(TrendChart::dayLabel(fifthOfDecember).startsWith(label),
             qPrintable(TrendChart::dayLabel(fifthOfDecember)));
}

void TestPlatform::contentFileNames()
{
    QCOMPARE(ContentFileName(QStringLiteral("types.")), QStringLiteral("types.eng"));
    QVERIFY(Language::activateModuleFile(fixtureModule()));
    QCOMPARE(ContentFileName(QStringLiteral("TypesLeg.")), QStringLiteral("TypesLeg.deu"));
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
