// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>
#include <memory>

class QSettings;

// The per-user store of typed values in a tree of keys ("Software/Dovetail/Quillon/2", ...). A value
// is either a 32-bit number (DWORD) or a text (string), and keeps that type: reading a value as the
// other type fails with "Invalid data type for '%s'". Value names may hold any character, '/' too.
class RegistryKey
{
public:
    // Opens the key at `path` ('/' or '\' separated) in the user's store, creating it.
    explicit RegistryKey(const QString& path);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool valueExists(const QString& name) const;
    // Throw "Invalid data type for '%s'" when the stored value has the other type, and
    // "Failed to get data for '%s'" when there is no such value, naming the store file.
    quint32 readDword(const QString& name) const;
    bool readBool(const QString& name) const { return readDword(name) != 0; }
    qint32 readInteger(const QString& name) const { return static_cast<qint32>(readDword(name)); }
    QString readString(const QString& name) const;
    // Writes are kept in memory until commit() (or the key's end, which commits without
    // reporting). commit() throws "Failed to set data for '%s'" naming the last value written and
    // the store file when the store cannot be written.
    void commit();
    void writeDword(const QString& name, quint32 value);
    void writeBool(const QString& name, bool value) { writeDword(name, value ? 1u : 0u); }
    void writeInteger(const QString& name, qint32 value) { writeDword(name, static_cast<quint32>(value)); }
    void writeString(const QString& name, const QString& value);

    // The key's unnamed value has the empty name.
    static QString defaultValueName() { return {}; }

    // Where the store lives; tests point it at a temporary folder.
    static void setStoreDirectory(const QString& directory);
    static QString storeFile();

private:
    QString keyOf(const QString& name) const;
    void write(const QString& name, const QVariant& value);

    QString m_path;
    QString m_lastWritten;
    std::unique_ptr<QSettings> m_settings;
};
