// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/SymbolRelations.h"

#include "content/TextReader.h"
#include "platform/AppError.h"
#include "platform/Files.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr QChar CommentMark = u';';

qint32 number(const QString& token)
{
    bool ok = false;
    const qint32 n = token.toInt(&ok);
    if (!ok)
        throw AppError(QString::fromLatin1(Msg::InvalidNumericInput));
    return n;
}

// A relation with fewer tokens than it needs cannot be used.
void requireTokens(const QStringList& tokens, qsizetype count)
{
    if (tokens.size() < count)
        throw AppError(QString::fromLatin1(Msg::DamagedFile));
}

} // namespace

SymbolRelations SymbolRelations::read(const QString& fileName)
{
    SymbolRelations relations;
    const QString path = Files::find(fileName);
    if (path.isEmpty())
        return relations;
    QFile file(path);
    Files::openRegular(file, QIODevice::ReadOnly);
    const QByteArray data = file.readAll();
    TextReader reader(data);
    qint64 lineNumber = 0;
    try {
        while (!reader.atEnd()) {
            ++lineNumber;
            const QString line = reader.decode(reader.readRestOfLine());
            reader.nextLine();
            relations.parseLine(line);
        }
    } catch (AppError& error) {
        error.atLine(lineNumber).inFile(QFileInfo(path).absoluteFilePath());
        throw;
    }
    if (relations.m_columns.isEmpty() && relations.m_groups.isEmpty() && relations.m_lines.isEmpty() &&
        relations.m_describedBy.isEmpty())
        throw AppError(QString::fromLatin1(Msg::NothingInFile)).inFile(QFileInfo(path).absoluteFilePath());
    return relations;
}

void SymbolRelations::parseLine(const QString& line)
{
    const QStringList tokens = line.split(u' ', Qt::SkipEmptyParts);
    if (tokens.isEmpty() || tokens.first().startsWith(CommentMark))
        return;
    const QString& word = tokens.first();
    if (word == QLatin1String("column")) {
        requireTokens(tokens, 4);
        const qint32 code = number(tokens[1]);
        m_columns.insert(code, tokens[2].at(0));
        if (tokens[3] != QLatin1String("-"))
            m_iof.insert(code, tokens[3]);
    } else if (word == QLatin1String("group")) {
        requireTokens(tokens, 3);
        m_groups.insert(number(tokens[1]), tokens[2]);
    } else if (word == QLatin1String("line")) {
        LineCells cells{};
        requireTokens(tokens, 2 + qsizetype(cells.size()));
        for (size_t i = 0; i < cells.size(); ++i)
            cells[i] = number(tokens[qsizetype(i) + 2]);
        m_lines.insert(number(tokens[1]), cells);
    } else if (word == QLatin1String("described")) {
        requireTokens(tokens, 3);
        const qint32 isom = number(tokens[1]);
        for (qsizetype i = 2; i < tokens.size(); ++i) {
            const qint32 code = number(tokens[i]);
            m_describedBy[isom].append(code);
            m_describes[code].append(isom);
        }
    }
    // a relation this version does not know is left for a later one
}
