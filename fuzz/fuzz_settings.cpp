// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: the input's first part is written as the store file and every value the
// program reads is read (a value of the wrong type or a missing one fails with the program's
// message, nothing else); the input's other parts are a value name and a text, written through
// the store and read back from a copy of the file read afresh.
#include "FuzzSupport.h"
#include "platform/AppError.h"
#include "platform/Registry.h"
#include "results/SettingsStore.h"

#include <QDir>
#include <QFile>

namespace {

// The keys and value names the program reads.
const char* const MainNames[] = {"TextHelp",       "Learn",        "GraphicMode",
                                 "HelpFormLeft",   "HelpFormTop",  "HelpFormWidth",
                                 "HelpFormHeight", "MainFormLeft", "MainFormTop"};
const char* const FontNames[] = {"Name", "Size", "Color", "StyleBold", "StyleItalic"};

// Every input gets store folders of its own: the settings layer keeps parsed files by name and
// takes a rewritten file of the same size and time stamp for the one it has already read.
int inputNumber = 0;

QString storeDir(int n)
{
    return QDir::current().filePath(QStringLiteral("store%1-%2").arg(inputNumber).arg(n));
}

void useStore(int n, QByteArrayView content)
{
    QDir().mkpath(storeDir(n));
    RegistryKey::setStoreDirectory(storeDir(n));
    Fuzz::writeFile(RegistryKey::storeFile(), content);
}

void removeStores()
{
    for (int n = 1; n <= 3; ++n)
        QDir(storeDir(n)).removeRecursively();
    ++inputNumber;
}

void readEvery(const char* path, const char* const* names, size_t count)
{
    const RegistryKey key{QString::fromLatin1(path)};
    for (size_t i = 0; i < count; ++i) {
        const QString name = QString::fromLatin1(names[i]);
        const bool exists = key.valueExists(name);
        int read = 0;
        try {
            key.readDword(name);
            ++read;
        } catch (const AppError&) {
        }
        try {
            key.readString(name);
            ++read;
        } catch (const AppError&) {
        }
        // a stored value is a number or a text, never both
        Fuzz::check(read == (exists ? 1 : 0), "a value reads as both types, or a missing one reads");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Parts separated by a zero byte: the store file, a value name, a text.
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split('\0');
    useStore(1, parts[0]);
    readEvery(SettingsStore::MainKey, MainNames, std::size(MainNames));
    readEvery(SettingsStore::FontKey, FontNames, std::size(FontNames));

    if (parts.size() >= 3) {
        const QString name = QString::fromUtf8(parts[1]);
        const QString text = QString::fromUtf8(parts[2]);
        const quint32 number = static_cast<quint32>(parts[2].size()) * 2654435761u;
        useStore(2, QByteArrayView());
        {
            RegistryKey key{QString::fromLatin1(SettingsStore::LocalesKey)};
            key.writeString(name, text);
            key.writeDword(name + QStringLiteral("#n"), number);
        }
        // the file as written, read by a store that has not seen it yet
        const QByteArray written = Fuzz::readFile(RegistryKey::storeFile());
        useStore(3, written);
        const RegistryKey key{QString::fromLatin1(SettingsStore::LocalesKey)};
        Fuzz::check(key.valueExists(name), "a written text is not found again");
        Fuzz::check(key.readString(name) == text, "a written text reads back otherwise");
        Fuzz::check(key.readDword(name + QStringLiteral("#n")) == number,
                    "a written number reads back otherwise");
    }
    removeStores();
    return 0;
}
