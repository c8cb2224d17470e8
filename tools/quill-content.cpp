// Turns a content source of data/text (LF line ends, UTF-8 restricted to the code page) into the
// file the program reads: CR LF line ends, single-byte text, and for the files under check a first
// line with their checksum, computed by the program's own checksum code.
//
//   quill-content plain SOURCE DEST
//   quill-content stamp SOURCE DEST

#include "content/Checksum.h"
#include "content/TextReader.h"
#include "platform/AppError.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
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

    QByteArray body;
    body.reserve(text.size() + text.size() / 16);
    int line = 1;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r'))
            continue;
        if (c == QLatin1Char('\n')) {
            body += "\r\n";
            ++line;
            continue;
        }
        if (c.unicode() > 255 || c.unicode() == 26)
            return fail(QStringLiteral("%1:%2: character U+%3 is outside the code page")
                            .arg(args[2])
                            .arg(line)
                            .arg(c.unicode(), 4, 16, QLatin1Char('0')));
        body += static_cast<char>(c.unicode());
    }

    QByteArray out;
    if (args[1] == QLatin1String("stamp"))
        out = QByteArray::number(BodyChecksum(body, ContentChecksumDivisor)) + "\r\n";
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
