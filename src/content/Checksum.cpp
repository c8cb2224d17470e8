// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/Checksum.h"

#include "content/TextReader.h"
#include "platform/AppError.h"
#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The bytes of a file, mapped when possible so that large files are not copied.
class FileBytes
{
public:
    explicit FileBytes(const QString& fileName)
    {
        Files::openForRead(m_file, fileName);
        const qint64 size = m_file.size();
        if (size > 0) {
            if (uchar* mapped = m_file.map(0, size)) {
                m_view = QByteArrayView(reinterpret_cast<const char*>(mapped), size);
                return;
            }
        }
        m_copy = m_file.readAll();
        if (m_file.error() != QFileDevice::NoError)
            throw ioErrorFromErrno(EIO).inFile(QFileInfo(m_file).absoluteFilePath());
        m_view = m_copy;
    }
    QByteArrayView view() const { return m_view; }

private:
    QFile m_file;
    QByteArray m_copy;
    QByteArrayView m_view;
};

qint32 firstNumber(QByteArrayView bytes, const QString& fileName)
{
    TextReader reader(bytes);
    try {
        return reader.readNumber();
    } catch (AppError& error) {
        error.inFile(QFileInfo(Files::find(fileName)).absoluteFilePath());
        throw;
    }
}

} // namespace

qint32 BodyChecksum(QByteArrayView body, quint8 divisor)
{
    const auto* p = reinterpret_cast<const unsigned char*>(body.data());
    const qsizetype n = body.size();
    quint32 sum = 0;
    if (divisor == 0) {
        for (qsizetype i = 0; i < n; ++i)
            sum += p[i];
        return static_cast<qint32>(sum);
    }
    if (divisor == 1) {
        for (qsizetype i = 0; i < n; ++i)
            sum -= p[i];
        return static_cast<qint32>(sum);
    }
    // Whole groups of `divisor` bytes: all added but the last one of each group.
    const qsizetype whole = n - n % divisor;
    qsizetype i = 0;
    if (divisor == 3) {
        for (; i < whole; i += 3)
            sum += static_cast<quint32>(p[i]) + p[i + 1] - p[i + 2];
    } else {
        for (; i < whole; i += divisor) {
            for (int k = 0; k < divisor - 1; ++k)
                sum += p[i + k];
            sum -= p[i + divisor - 1];
        }
    }
    for (; i < n; ++i)
        sum += p[i]; // the tail is shorter than a group, so none of it is subtracted
    return static_cast<qint32>(sum);
}

qint32 ReadChecksumLine(const QString& fileName)
{
    const FileBytes bytes(fileName);
    return firstNumber(bytes.view(), fileName);
}

ChecksumCheck CheckFileChecksum(const QString& fileName, quint8 divisor)
{
    const FileBytes bytes(fileName);
    const QByteArrayView all = bytes.view();
    ChecksumCheck check;
    check.stored = firstNumber(all, fileName);
    // a file in UTF-8 starts with its mark, before the checksum line
    const qsizetype start = utf8MarkSize(all) + QByteArray::number(check.stored).size() + 2;
    check.emptyBody = start >= all.size();
    check.computed = check.emptyBody ? 0 : BodyChecksum(all.sliced(start), divisor);
    return check;
}

qint32 FileChecksum(const QString& fileName, quint8 divisor)
{
    return CheckFileChecksum(fileName, divisor).computed;
}
