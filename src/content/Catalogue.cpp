// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/Catalogue.h"

#include "content/TextReader.h"
#include "platform/AppError.h"
#include "platform/Files.h"
#include "platform/Random.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

constexpr char EndOfFile = 26;

[[noreturn]] void reject(const QString& fileName, const QString& fault)
{
    // The message names the file and what is wrong with it.
    throw AppError(QStringLiteral("%s: %s"), {fileName, fault});
}

void appendValue(TTypesItem& entry, qint32 value, const QString& fileName)
{
    if (entry.Values.size() >= TTypesFile::MaxValuesPerEntry)
        reject(fileName, QStringLiteral("test %1 has more than %2 values")
                             .arg(entry.TestNumber)
                             .arg(TTypesFile::MaxValuesPerEntry));
    entry.Values.append(value);
}

} // namespace

TTypesFile& Catalogue()
{
    static TTypesFile store;
    return store;
}

namespace {
// Deeper nesting than any catalogue needs is refused before it can exhaust the stack.
constexpr int MaxGroupDepth = 64;
thread_local int groupDepth = 0;

struct GroupLevel
{
    GroupLevel() { ++groupDepth; }
    ~GroupLevel() { --groupDepth; }
    GroupLevel(const GroupLevel&) = delete;
    GroupLevel& operator=(const GroupLevel&) = delete;
};
} // namespace

void ReadGroup(TextReader& reader, TTypesItem& entry, const QString& fileName)
{
    const GroupLevel level;
    if (groupDepth > MaxGroupDepth)
        reject(fileName, QStringLiteral("groups of test %1 are nested more than %2 deep")
                             .arg(entry.TestNumber)
                             .arg(MaxGroupDepth));
    QList<qint32> candidates;
    for (;;) {
        if (reader.atEnd())
            reject(fileName, QStringLiteral("a group of test %1 is not closed").arg(entry.TestNumber));
        const char c = reader.readChar();
        if (c == 'N') {
            if (candidates.size() >= TTypesFile::MaxValuesPerGroup)
                reject(fileName, QStringLiteral("a group of test %1 has more than %2 values")
                                     .arg(entry.TestNumber)
                                     .arg(TTypesFile::MaxValuesPerGroup));
            candidates.append(reader.readNumber(true));
        } else if (c == '{') {
            ReadGroup(reader, entry, fileName);
        } else if (c == '}') {
            break;
        } else if (c == EndOfFile) {
            reject(fileName, QStringLiteral("a group of test %1 is not closed").arg(entry.TestNumber));
        }
    }
    if (candidates.isEmpty())
        reject(fileName, QStringLiteral("a group of test %1 has no value").arg(entry.TestNumber));
    appendValue(entry, candidates.at(Random(static_cast<int>(candidates.size()))), fileName);
}

namespace {
// Every test of the catalogue, in file order.
void readEntries(TextReader& reader, QList<TTypesItem>& entries, const QString& fileName)
{
    while (!reader.atEnd()) {
        if (entries.size() >= TTypesFile::MaxEntries)
            reject(fileName, QStringLiteral("more than %1 tests").arg(TTypesFile::MaxEntries));
        TTypesItem entry;
        entry.TestNumber = reader.readNumber();
        entry.TestName = reader.decode(reader.readRestOfLine());
        reader.nextLine();
        entry.Remark = reader.decode(reader.readRestOfLine());
        reader.nextLine();
        while (!reader.atLineEnd()) {
            const char c = reader.readChar();
            if (c == '{')
                ReadGroup(reader, entry, fileName);
            else if (c == 'N')
                appendValue(entry, reader.readNumber(true), fileName);
        }
        entries.append(std::move(entry));
    }
}
} // namespace

void ReadCatalogue(const QString& fileName)
{
    Randomize();
    TTypesFile& store = Catalogue();
    store.Entries.clear();
    store.Entries = ReadCatalogueEntries(fileName);
}

QList<TTypesItem> ReadCatalogueEntries(const QString& fileName)
{
    QFile file;
    Files::openForRead(file, fileName);
    const QByteArray data = file.readAll();
    file.close();

    QList<TTypesItem> entries;
    TextReader reader(data);
    try {
        readEntries(reader, entries, fileName);
    } catch (AppError& error) {
        error.inFile(QFileInfo(file).absoluteFilePath());
        throw;
    }
    // a catalogue without a single symbol to play (an empty file, say) is no catalogue
    if (std::all_of(entries.cbegin(), entries.cend(), [](const TTypesItem& e) { return e.Values.isEmpty(); }))
        throw AppError(QString::fromLatin1(Msg::NothingInFile)).inFile(QFileInfo(file).absoluteFilePath());
    return entries;
}
