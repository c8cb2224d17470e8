// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Registry.h"

#include "platform/AppError.h"

#include <QDir>
#include <QFileDevice>
#include <QIODevice>
#include <QSettings>
#include <QStandardPaths>

namespace {

// The store is a text file of lines "key-path<TAB>type<TAB>value", types "dword" and "sz"; text values
// are escaped so that every value stays on its line. Keys exist on their own ("key" lines), so an
// opened key is kept even while it holds no value.
constexpr char KeyMarker[] = "\x01key";

QString escapeText(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescapeText(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('\\') && i + 1 < s.size()) {
            const QChar n = s[++i];
            out += n == QLatin1Char('n')   ? QLatin1Char('\n')
                   : n == QLatin1Char('r') ? QLatin1Char('\r')
                   : n == QLatin1Char('t') ? QLatin1Char('\t')
                                           : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool readStore(QIODevice& device, QSettings::SettingsMap& map)
{
    while (!device.atEnd()) {
        QString line = QString::fromUtf8(device.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QStringList parts = line.split(QLatin1Char('\t'));
        if (parts.size() == 2 && parts[1] == QLatin1String("key")) {
            map.insert(unescapeText(parts[0]) + QLatin1Char('/') + QLatin1String(KeyMarker), QVariant(true));
        } else if (parts.size() == 3 && parts[1] == QLatin1String("dword")) {
            bool ok = false;
            const quint32 value = parts[2].toUInt(&ok);
            if (ok)
                map.insert(unescapeText(parts[0]), QVariant::fromValue<quint32>(value));
        } else if (parts.size() == 3 && parts[1] == QLatin1String("sz")) {
            map.insert(unescapeText(parts[0]), QVariant(unescapeText(parts[2])));
        }
    }
    return true;
}

bool writeStore(QIODevice& device, const QSettings::SettingsMap& map)
{
    const QString marker = QLatin1Char('/') + QLatin1String(KeyMarker);
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        QString line;
        if (it.key().endsWith(marker)) {
            line = escapeText(it.key().chopped(marker.size())) + QLatin1String("\tkey");
        } else if (it.value().typeId() == QMetaType::UInt) {
            line = escapeText(it.key()) + QLatin1String("\tdword\t") + QString::number(it.value().toUInt());
        } else {
            line = escapeText(it.key()) + QLatin1String("\tsz\t") + escapeText(it.value().toString());
        }
        if (device.write(line.toUtf8() + '\n') < 0)
            return false;
    }
    // A full disk can show only when the last buffered bytes go out; failing here keeps the old
    // store file, as the new one is then never put in its place.
    auto* file = qobject_cast<QFileDevice*>(&device);
    return !file || file->flush();
}

QSettings::Format storeFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("reg"), readStore, writeStore);
    return format;
}

QString& storeDirectory()
{
    static QString directory;
    return directory;
}

// QSettings splits keys at '/' and turns '\' into '/': value names are stored escaped so that an
// executable's path can be a value name.
QString escapeName(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("@");
    QString out;
    for (const QChar c : name) {
        if (c == QLatin1Char('%') || c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char('@'))
            out +=
                QLatin1Char('%') + QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString normalisePath(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('/'));
}

} // namespace

void RegistryKey::setStoreDirectory(const QString& directory)
{
    storeDirectory() = directory;
}

QString RegistryKey::storeFile()
{
    QString dir = storeDirectory();
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
              QStringLiteral("/Dovetail");
    return dir + QStringLiteral("/Quillon.reg");
}

RegistryKey::RegistryKey(const QString& path)
    : m_path(normalisePath(path)), m_settings(std::make_unique<QSettings>(storeFile(), storeFormat()))
{
    const QString marker = m_path + QLatin1Char('/') + QLatin1String(KeyMarker);
    if (!m_settings->contains(marker)) {
        m_settings->setValue(marker, true);
        m_settings->sync();
    }
}

RegistryKey::~RegistryKey()
{
    m_settings->sync();
}

QString RegistryKey::keyOf(const QString& name) const
{
    return m_path + QLatin1Char('/') + escapeName(name);
}

bool RegistryKey::valueExists(const QString& name) const
{
    return m_settings->contains(keyOf(name));
}

quint32 RegistryKey::readDword(const QString& name) const
{
    const QVariant value = m_settings->value(keyOf(name));
    if (!value.isValid())
        throw AppError(QString::fromLatin1(Msg::FailedToGetData), {name}).inFile(storeFile());
    if (value.typeId() != QMetaType::UInt)
        throw AppError(QString::fromLatin1(Msg::InvalidDataType), {name}).inFile(storeFile());
    return value.toUInt();
}

QString RegistryKey::readString(const QString& name) const
{
    const QVariant value = m_settings->value(keyOf(name));
    if (!value.isValid())
        throw AppError(QString::fromLatin1(Msg::FailedToGetData), {name}).inFile(storeFile());
    if (value.typeId() != QMetaType::QString)
        throw AppError(QString::fromLatin1(Msg::InvalidDataType), {name}).inFile(storeFile());
    return value.toString();
}

void RegistryKey::write(const QString& name, const QVariant& value)
{
    // Values are kept until commit(): writing the store file once per value made the close of
    // the program slow.
    m_settings->setValue(keyOf(name), value);
    m_lastWritten = name;
}

void RegistryKey::commit()
{
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        throw AppError(QString::fromLatin1(Msg::FailedToSetData), {m_lastWritten}).inFile(storeFile());
}

void RegistryKey::writeDword(const QString& name, quint32 value)
{
    write(name, QVariant::fromValue<quint32>(value));
}

void RegistryKey::writeString(const QString& name, const QString& value)
{
    write(name, QVariant(value));
}
