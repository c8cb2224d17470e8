// SPDX-License-Identifier: GPL-3.0-or-later
// Turns a content source of data/text (UTF-8, LF line ends) into the file the program reads: CR LF
// line ends, single-byte text (Latin-1), and for the files under check a first line with their
// checksum, computed by the program's own checksum code. A source with a letter Latin-1 lacks (the
// French oe ligature) is written as UTF-8 instead, marked by the UTF-8 byte-order mark before the
// checksum line; the checksum covers the body's UTF-8 bytes.
//
//   quill-content plain SOURCE DEST
//   quill-content stamp SOURCE DEST

#include "content/Checksum.h"
#include "content/TextReader.h"
#include "platform/AppError.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "quill-content: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 || (args[1] != QLatin1String("plain") && args[1] != QLatin1String("stamp")))
        return fail(QStringLiteral("usage: quill-content plain|stamp SOURCE DEST"));

    QFile source(args[2]);
    if (!source.open(QIODevice::ReadOnly))
        return fail(args[2] + QStringLiteral(": cannot read"));
    const QString text = QString::fromUtf8(source.readAll());

    QString lines = text;
    lines.remove(QLatin1Char('\r'));
    // 26 would end the file for the program's reader; U+FFFD stands for bytes that are no UTF-8
    for (const QChar refused : {QChar(26), QChar(QChar::ReplacementCharacter)}) {
        if (const qsizetype at = lines.indexOf(refused); at >= 0)
            return fail(QStringLiteral("%1:%2: character U+%3 cannot be written")
                            .arg(args[2])
                            .arg(lines.left(at).count(QLatin1Char('\n')) + 1)
                            .arg(refused.unicode(), 4, 16, QLatin1Char('0')));
    }
    // Latin-1 where it holds every character, else UTF-8 behind its mark
    const bool utf8 = std::any_of(lines.cbegin(), lines.cend(), [](QChar c) { return c.unicode() > 255; });
    const QByteArray body = (utf8 ? lines.toUtf8() : lines.toLatin1()).replace("\n", "\r\n");

    QByteArray out = utf8 ? QByteArray(Utf8Mark, Utf8MarkSize) : QByteArray();
    if (args[1] == QLatin1String("stamp"))
        out += QByteArray::number(BodyChecksum(body, ContentChecksumDivisor)) + "\r\n";
    out += body;

    QSaveFile dest(args[3]);
    if (!dest.open(QIODevice::WriteOnly) || dest.write(out) != out.size() || !dest.commit())
        return fail(args[3] + QStringLiteral(": cannot write"));

    if (args[1] == QLatin1String("stamp")) {
        try {
            if (!CheckFileChecksum(args[3], ContentChecksumDivisor).matches())
                return fail(args[3] + QStringLiteral(": checksum does not verify"));
        } catch (const AppError& e) {
            return fail(args[3] + QStringLiteral(": ") + e.text());
        }
    }
    return 0;
}
