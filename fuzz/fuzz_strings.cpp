// SPDX-License-Identifier: GPL-3.0-or-later
// The string table of a language module: the input becomes strings.txt in a container made here in
// the binary resource format (as `rcc -binary` makes it), the container is activated as the
// language module, and every string is compared with the table read again by the number rule
// (any line ends, the first line of a number counts, the table ends at a damaged line; UTF-8 behind
// a byte-order mark, else Latin-1).
#include "FuzzSupport.h"
#include "content/Language.h"

#include <QHash>
#include <QtEndian>

namespace {

const QString ContainerName = QStringLiteral("quill.fuz");
constexpr int LanguageCodeId = 65296;

void putBig16(QByteArray& out, quint16 v)
{
    char b[2];
    qToBigEndian(v, b);
    out.append(b, 2);
}

void putBig32(QByteArray& out, quint32 v)
{
    char b[4];
    qToBigEndian(v, b);
    out.append(b, 4);
}

// The hash the resource format files names under.
quint32 nameHash(const QString& name)
{
    quint32 h = 0;
    for (const QChar c : name) {
        h = (h << 4) + c.unicode();
        h ^= (h & 0xf0000000) >> 23;
        h &= 0x0fffffff;
    }
    return h;
}

// A container (format version 2) holding one uncompressed file at its root.
QByteArray container(const QString& fileName, QByteArrayView content)
{
    constexpr quint32 HeaderSize = 20;
    constexpr quint16 DirectoryFlag = 2;
    constexpr quint16 LanguageC = 1;
    QByteArray names;
    putBig16(names, static_cast<quint16>(fileName.size()));
    putBig32(names, nameHash(fileName));
    for (const QChar c : fileName)
        putBig16(names, c.unicode());
    QByteArray tree;
    // the root: a directory with one child, node 1
    putBig32(tree, 0);
    putBig16(tree, DirectoryFlag);
    putBig32(tree, 1);
    putBig32(tree, 1);
    putBig32(tree, 0);
    putBig32(tree, 0); // last modified
    // the file: name at offset 0, no locale, data at offset 0
    putBig32(tree, 0);
    putBig16(tree, 0);
    putBig16(tree, 0);
    putBig16(tree, LanguageC);
    putBig32(tree, 0);
    putBig32(tree, 0);
    putBig32(tree, 0); // last modified
    QByteArray data;
    putBig32(data, static_cast<quint32>(content.size()));
    data.append(content);

    QByteArray out("qres");
    putBig32(out, 2);
    const quint32 treeOffset = HeaderSize;
    const quint32 dataOffset = treeOffset + static_cast<quint32>(tree.size());
    const quint32 namesOffset = dataOffset + static_cast<quint32>(data.size());
    putBig32(out, treeOffset);
    putBig32(out, dataOffset);
    putBig32(out, namesOffset);
    return out + tree + data + names;
}

QHash<qint32, QString> expectedTable(QByteArrayView raw)
{
    QByteArray text = raw.toByteArray();
    text.replace("\r\n", "\n");
    text.replace('\n', '\r');
    Fuzz::NumberRule rule(text);
    QHash<qint32, QString> table;
    while (!rule.atEnd()) {
        const std::optional<qint32> id = rule.readNumber(false);
        if (!id)
            break;
        const QByteArray line = rule.readRestOfLine();
        rule.nextLine();
        if (!table.contains(*id)) {
            const QByteArrayView rest = QByteArrayView(line).sliced(line.isEmpty() ? 0 : 1);
            table.insert(*id, rule.utf8() ? QString::fromUtf8(rest) : QString::fromLatin1(rest));
        }
    }
    return table;
}

bool activate(QByteArrayView strings)
{
    Fuzz::writeFile(ContainerName, container(QStringLiteral("strings.txt"), strings));
    return Language::activateModuleFile(ContainerName);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::initialise(argc, argv);
    // The container writer must make what the language module reader takes.
    if (!activate("65296 xyz\r\n") || LoadString(LanguageCodeId) != QStringLiteral("xyz"))
        Fuzz::fail("the container made here is not taken as a language module");
    Language::activateBuiltIn();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView strings = Fuzz::bytes(data, size);
    Fuzz::check(activate(strings), "a container with a string table is refused");
    const QHash<qint32, QString> expected = expectedTable(strings);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        Fuzz::check(LoadString(it.key()) == it.value(), "a string differs from the table");
    // ids that the table does not hold are empty
    for (const qint32 id : {0, 1, -1, LanguageCodeId, 65307, std::numeric_limits<qint32>::min()}) {
        if (!expected.contains(id))
            Fuzz::check(LoadString(id).isEmpty(), "a string that the table lacks is not empty");
    }
    Language::activateBuiltIn();
    return 0;
}
