// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/Language.h"

#include "content/ModuleDamage.h"
#include "content/TextReader.h"
#include "platform/AppError.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/ResourceContainer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTranslator>

namespace {
ModuleDamageReporter& moduleDamageReporter()
{
    static ModuleDamageReporter reporter;
    return reporter;
}

constexpr char BuiltInRoot[] = ":/builtin/";
constexpr char StringsFile[] = "strings.txt";
constexpr char MessagesFile[] = "messages.txt";
constexpr char QtTextsFile[] = "qt.qm";
// The extension of the English module, the language of everyone we have no module for.
constexpr char EnglishModule[] = "eng";

QHash<int, QString> parseStringTable(const QByteArray& raw)
{
    // The table is a numbered text file, with any line ends.
    QHash<int, QString> strings;
    TextReader reader(raw);
    try {
        while (!reader.atEnd()) {
            const qint32 id = reader.readNumber();
            const QByteArray line = reader.readRestOfLine();
            reader.nextLine();
            if (!strings.contains(id))
                strings.insert(id, reader.decode(QByteArrayView(line).sliced(line.isEmpty() ? 0 : 1)));
        }
    } catch (const AppError&) {
        // A damaged table keeps the strings read before the damage.
    }
    return strings;
}

// Lines "English text<TAB>translated text".
QHash<QString, QString> parseMessages(const QByteArray& data)
{
    QHash<QString, QString> messages;
    for (const QByteArray& line : Files::splitLines(data)) {
        const qsizetype tab = line.indexOf('\t');
        if (tab > 0)
            messages.insert(QString::fromUtf8(line.left(tab)), QString::fromUtf8(line.mid(tab + 1)));
    }
    return messages;
}

QByteArray readBuiltIn(const QString& name)
{
    QFile file(QLatin1String(BuiltInRoot) + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "quill.<ext>" in the program's folder: the executable's name with its extension replaced.
QString modulePath(const QString& executablePath, const QString& extension)
{
    const QFileInfo exe(executablePath);
    return QDir(Desktop::programFolderOf(executablePath))
        .filePath(exe.completeBaseName() + QLatin1Char('.') + extension);
}

} // namespace

struct Language::Active
{
    std::unique_ptr<ResourceContainer> container;
    QHash<int, QString> strings;
    QHash<QString, QString> messages;
    // Qt's own dialog texts ("OK", "Cancel", the font dialog) in the module's language
    std::unique_ptr<QTranslator> qtTexts;
    bool loaded = false;
};

// The string table and the message translations of the active module, or the built-in ones.
void Language::fillTexts(Active& a)
{
    const auto read = [&a](const char* name) {
        return a.container ? a.container->read(QLatin1String(name)) : readBuiltIn(QLatin1String(name));
    };
    a.strings = parseStringTable(read(StringsFile));
    a.messages = parseMessages(read(MessagesFile));
}

Language::Active& Language::active()
{
    static Active instance;
    if (!instance.loaded) {
        instance.loaded = true;
        fillTexts(instance);
    }
    return instance;
}

void Language::load(std::unique_ptr<ResourceContainer> container)
{
    Active& a = active();
    // Qt's texts are read straight from the module's bytes: they go before the module does.
    if (a.qtTexts) {
        QCoreApplication::removeTranslator(a.qtTexts.get());
        a.qtTexts.reset();
    }
    a.container = std::move(container);
    AppError::setTranslator(&Language::translateMessage);
    fillTexts(a);
    QLocale::setDefault(locale());
    if (a.container && a.container->contains(QLatin1String(QtTextsFile))) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(a.container->pathOf(QLatin1String(QtTextsFile))) &&
            QCoreApplication::instance()) {
            QCoreApplication::installTranslator(translator.get());
            a.qtTexts = std::move(translator);
        }
    }
}

bool Language::activateModuleFile(const QString& path)
{
    auto container = std::make_unique<ResourceContainer>();
    if (!container->open(path)) {
        // A damaged module is reported; the choice goes on as if the file were not there.
        if (container->damage() && moduleDamageReporter())
            moduleDamageReporter()(*container->damage());
        return false;
    }
    load(std::move(container));
    return true;
}

void Language::activateBuiltIn()
{
    load(nullptr);
}

void Language::selectModule(const QString& executablePath, const QString& storedExtension,
                            const QString& userLanguage3)
{
    QStringList candidates;
    if (!storedExtension.isEmpty())
        candidates << storedExtension;
    if (!userLanguage3.isEmpty()) {
        candidates << userLanguage3;
        if (userLanguage3.size() > 2)
            candidates << userLanguage3.left(2);
    }
    // A language we have no module for (Swedish, the plain C locale) gets the English module, as if
    // English were chosen; the built-in table serves only when no module can be loaded at all.
    candidates << QLatin1String(EnglishModule);
    QStringList tried; // a damaged module named twice is reported once
    for (const QString& extension : candidates) {
        const QString path = modulePath(executablePath, extension);
        if (extension.size() > 4 || tried.contains(path))
            continue;
        tried << path;
        if (activateModuleFile(path))
            return;
    }
    activateBuiltIn();
}

void Language::selectModule()
{
    const QString exe = Desktop::executablePath();
    QString stored;
    try {
        const RegistryKey key{QLatin1String(LanguageChoiceKey)};
        if (key.valueExists(exe))
            stored = key.readString(exe);
        else if (key.valueExists(RegistryKey::defaultValueName()))
            stored = key.readString(RegistryKey::defaultValueName());
    } catch (const AppError&) {
        stored.clear(); // a damaged value counts as none
    }
    selectModule(exe, stored, Desktop::userLanguageCode3());
}

QString Language::moduleLanguageName(const QString& path)
{
    ResourceContainer container;
    if (!container.open(path))
        return {};
    return parseStringTable(container.read(QLatin1String(StringsFile))).value(StringId::LanguageName);
}

bool Language::hasModule()
{
    return active().container != nullptr;
}

QString Language::moduleFile()
{
    return hasModule() ? active().container->filePath() : QString();
}

QLocale Language::locale()
{
    const QLocale::Language language = QLocale::codeToLanguage(LanguageCode());
    if (language == QLocale::AnyLanguage || language == QLocale::system().language())
        return QLocale::system();
    return QLocale(language);
}

QString Language::string(int id)
{
    return active().strings.value(id);
}

QByteArray Language::screenDescription(const QString& className)
{
    const QString name = className + QStringLiteral(".ui");
    const QByteArray data = hasModule() ? active().container->read(name) : readBuiltIn(name);
    if (data.isEmpty()) {
        AppError error(QString::fromLatin1(Msg::ResourceNotFound), {className});
        if (hasModule())
            error.inFile(moduleFile());
        throw error;
    }
    return data;
}

QString Language::translateMessage(const QString& message)
{
    return active().messages.value(message, message);
}

QString LoadString(int id)
{
    return Language::string(id);
}

QString LanguageCode()
{
    return LoadString(StringId::LanguageCode);
}

QString ContentFileName(const QString& base)
{
    return base + LanguageCode();
}

void setModuleDamageReporter(ModuleDamageReporter reporter)
{
    moduleDamageReporter() = std::move(reporter);
}
