// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue reader with groups (ReadCatalogue) on a file written from the input, against the
// catalogue format read again here (groups without recursion): the same tests, names, remarks and
// values, or a refusal with an empty store. A group's choice is always its last value; groups
// nest at most 64 deep.
#include "FuzzSupport.h"
#include "content/Catalogue.h"
#include "platform/AppError.h"

#include "platform/Random.h"
#include <algorithm>

#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::initialise(argc, argv);
    setRandomOverride([](int n) { return n - 1; });
    return 0;
}

namespace {

const QString FileName = QStringLiteral("Types.eng");
// Groups nested deeper than this are refused.
constexpr size_t MaxGroupDepth = 64;

// The catalogue as the format describes it; nothing when the file is refused.
std::optional<QList<TTypesItem>> expectedCatalogue(QByteArrayView text)
{
    Fuzz::NumberRule rule(text);
    const auto decode = [&rule](const QByteArray& bytes) {
        return rule.utf8() ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
    };
    QList<TTypesItem> entries;
    const auto append = [](TTypesItem& entry, qint32 value) {
        if (entry.Values.size() >= TTypesFile::MaxValuesPerEntry)
            return false;
        entry.Values.append(value);
        return true;
    };
    while (!rule.atEnd()) {
        if (entries.size() >= TTypesFile::MaxEntries)
            return std::nullopt;
        TTypesItem entry;
        const std::optional<qint32> number = rule.readNumber(false);
        if (!number)
            return std::nullopt;
        entry.TestNumber = *number;
        entry.TestName = decode(rule.readRestOfLine());
        rule.nextLine();
        entry.Remark = decode(rule.readRestOfLine());
        rule.nextLine();
        while (!rule.atEnd() && rule.data[rule.pos] != '\r' && rule.data[rule.pos] != '\n') {
            const char c = rule.data[rule.pos++];
            if (c == 'N') {
                const std::optional<qint32> value = rule.readNumber(true);
                if (!value || !append(entry, *value))
                    return std::nullopt;
            } else if (c == '{') {
                // the open groups, innermost last, each with its values so far
                std::vector<QList<qint32>> open(1);
                while (!open.empty()) {
                    if (rule.atEnd())
                        return std::nullopt;
                    const char g = rule.data[rule.pos++];
                    if (g == 'N') {
                        if (open.back().size() >= TTypesFile::MaxValuesPerGroup)
                            return std::nullopt;
                        const std::optional<qint32> value = rule.readNumber(true);
                        if (!value)
                            return std::nullopt;
                        open.back().append(*value);
                    } else if (g == '{') {
                        open.emplace_back();
                        if (open.size() > MaxGroupDepth)
                            return std::nullopt;
                    } else if (g == '}') {
                        if (open.back().isEmpty() || !append(entry, open.back().constLast()))
                            return std::nullopt;
                        open.pop_back();
                    }
                }
            }
        }
        entries.append(entry);
    }
    // a catalogue without a single value holds nothing the program can use
    if (std::all_of(entries.cbegin(), entries.cend(), [](const TTypesItem& e) { return e.Values.isEmpty(); }))
        return std::nullopt;
    return entries;
}

bool sameEntries(const QList<TTypesItem>& a, const QList<TTypesItem>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].TestNumber != b[i].TestNumber || a[i].TestName != b[i].TestName ||
            a[i].Remark != b[i].Remark || a[i].Values != b[i].Values)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView text = Fuzz::bytes(data, size);
    Fuzz::writeFile(FileName, text);
    bool refused = false;
    try {
        ReadCatalogue(FileName);
    } catch (const AppError&) {
        refused = true;
    }
    const std::optional<QList<TTypesItem>> expected = expectedCatalogue(text);
    Fuzz::check(refused == !expected.has_value(), "ReadCatalogue refuses another set of files");
    if (refused) {
        Fuzz::check(Catalogue().Entries.isEmpty(), "a refused catalogue leaves entries in the store");
        return 0;
    }
    Fuzz::check(sameEntries(Catalogue().Entries, *expected), "ReadCatalogue reads other entries");
    return 0;
}
