// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/StringIds.h"

#include <QByteArray>
#include <QHash>
#include <QLocale>
#include <QString>
#include <memory>

class ResourceContainer;

// The stored settings' key that holds the language chosen for each executable (value name: the
// executable's path; the unnamed value stands for every executable).
inline constexpr char LanguageChoiceKey[] = "Software\\Borland\\Locales";

// The active interface language: the built-in English one or a language module "quill.<ext>"
// beside the executable, chosen once at start. It gives the string table, the screen descriptions
// and the translations of the system's messages.
class Language
{
public:
    // The choice made at start: the stored extension for this executable (or the key's unnamed
    // value), else the user's three-letter language, else its first two letters, else the English
    // module, else built-in.
    static void selectModule();
    // The same choice with every input given (tests): `storedExtension` may be empty.
    static void selectModule(const QString& executablePath, const QString& storedExtension,
                             const QString& userLanguage3);
    // Makes `path` the active module; false (the active language unchanged) when it cannot be used.
    // A damaged module is reported in the standard error box, naming the file.
    static bool activateModuleFile(const QString& path);
    static void activateBuiltIn();

    static bool hasModule();
    static QString moduleFile();
    // The language's own name ("Deutsch") that the module file at `path` gives, read without
    // making it active; empty when the file is no module or gives no name.
    static QString moduleLanguageName(const QString& path);

    static QString string(int id);
    // The locale of the language, for dates and numbers: the system's where it is of the same
    // language (so that its country's forms stay), else the language's own. Made Qt's default
    // locale when a language is activated.
    static QLocale locale();
    // The screen description (.ui) of a screen class; throws "Resource %s not found".
    static QByteArray screenDescription(const QString& className);
    static QString translateMessage(const QString& message);

private:
    struct Active;
    static Active& active();
    static void fillTexts(Active& a);
    static void load(std::unique_ptr<ResourceContainer> container);
};

// The text of string `id` in the active language; empty when the language lacks it.
QString LoadString(int id);
// String 65296, fetched afresh each time.
QString LanguageCode();
// base + LanguageCode().
QString ContentFileName(const QString& base);
