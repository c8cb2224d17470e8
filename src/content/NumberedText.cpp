// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/NumberedText.h"

#include "content/TextReader.h"
#include "platform/AppError.h"
#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSet>

namespace {

// Calls `visit(number, rest of line, reader)` for each line of the numbered text file, in file order, until
// it returns false. A missing file has no lines; a fault names the file.
template <typename Visit> void forEachLine(const QString& fileName, Visit visit)
{
    const QString path = Files::find(fileName);
    if (path.isEmpty())
        return;
    QFile file(path);
    Files::openRegular(file, QIODevice::ReadOnly);
    const QByteArray data = file.readAll();
    TextReader reader(data);
    try {
        while (!reader.atEnd()) {
            const qint32 n = reader.readNumber();
            const QByteArray line = reader.readRestOfLine();
            reader.nextLine();
            if (!visit(n, line, reader))
                return;
        }
    } catch (AppError& error) {
        error.inFile(QFileInfo(path).absoluteFilePath());
        throw;
    }
}

} // namespace

QString ReadNumberedText(const QString& fileName, qint32 number)
{
    QString text;
    forEachLine(fileName, [&](qint32 n, const QByteArray& line, const TextReader& reader) {
        if (n != number)
            return true;
        text = reader.decode(QByteArrayView(line).sliced(line.isEmpty() ? 0 : 1));
        return false;
    });
    return text;
}

QList<qint32> NumbersOf(const QString& fileName)
{
    QList<qint32> numbers;
    forEachLine(fileName, [&](qint32 n, const QByteArray&, const TextReader&) {
        numbers.append(n);
        return true;
    });
    return numbers;
}

QList<QPair<qint32, QString>> ReadNumberedTexts(const QString& fileName)
{
    QList<QPair<qint32, QString>> texts;
    QSet<qint32> seen;
    forEachLine(fileName, [&](qint32 n, const QByteArray& line, const TextReader& reader) {
        if (!seen.contains(n)) {
            seen.insert(n);
            texts.append({n, reader.decode(QByteArrayView(line).sliced(line.isEmpty() ? 0 : 1))});
        }
        return true;
    });
    return texts;
}
