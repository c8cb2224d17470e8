// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class TextReader;

// One test of a catalogue: its name and number from the first line, the free remark of the second
// and the symbol numbers of the item line, with every group's random choice made.
struct TTypesItem
{
    QString Remark;
    QString TestName;
    qint32 TestNumber = 0;
    QList<qint32> Values;
};

// The catalogue store shared by the test-selection dialog and the results viewer; each reading
// replaces its content.
struct TTypesFile
{
    static constexpr int MaxEntries = 101;
    static constexpr int MaxValuesPerEntry = 1001;
    static constexpr int MaxValuesPerGroup = 101;

    QList<TTypesItem> Entries;
    int Count() const { return static_cast<int>(Entries.size()); }
};

// The one shared store.
TTypesFile& Catalogue();

// Fills Catalogue() from the catalogue file `fileName` (letter case ignored). Seeds the random source
// first. Throws the file's input/output error, "Invalid numeric input", or a message naming the
// file and the fault for a catalogue beyond the store's limits, a group without a value or a group
// still open at the end of the file, and "The file holds nothing the program can read" for a file
// without a single value of a test; the store is then left empty.
void ReadCatalogue(const QString& fileName);
// The tests of a catalogue file, read as ReadCatalogue reads them, leaving the store as it is.
QList<TTypesItem> ReadCatalogueEntries(const QString& fileName);

// Reads one group after its "{" up to and including its "}" and appends the chosen value to `entry`.
// A nested group's choice goes straight into the entry.
void ReadGroup(TextReader& reader, TTypesItem& entry, const QString& fileName);
