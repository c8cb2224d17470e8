#include "content/NumberedText.h"

#include "content/TextReader.h"
#include "platform/AppError.h"
#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

QString ReadNumberedText(const QString& fileName, qint32 number)
{
    const QString path = Files::find(fileName);
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Files::throwOpenError(file);
    const QByteArray data = file.readAll();
    TextReader reader(data);
    try {
        while (!reader.atEnd()) {
            const qint32 n = reader.readNumber();
            const QByteArray line = reader.readRestOfLine();
            reader.nextLine();
            if (n == number)
                return decodeContentText(QByteArrayView(line).sliced(line.isEmpty() ? 0 : 1));
        }
    } catch (AppError& error) {
        error.inFile(QFileInfo(path).absoluteFilePath());
        throw;
    }
    return {};
}

QList<qint32> NumbersOf(const QString& fileName)
{
    QList<qint32> numbers;
    const QString path = Files::find(fileName);
    if (path.isEmpty())
        return numbers;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        Files::throwOpenError(file);
    const QByteArray data = file.readAll();
    TextReader reader(data);
    try {
        while (!reader.atEnd()) {
            numbers.append(reader.readNumber());
            reader.nextLine();
        }
    } catch (AppError& error) {
        error.inFile(QFileInfo(path).absoluteFilePath());
        throw;
    }
    return numbers;
}
