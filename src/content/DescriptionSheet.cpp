// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/DescriptionSheet.h"

#include "platform/AppError.h"
#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace {

constexpr qint32 FirstControlCode = 1;
constexpr qint32 LastControlCode = 999;
constexpr qint32 FirstInstruction = 990;
constexpr qint32 LastInstruction = 999;
constexpr char16_t ByteOrderMark = 0xFEFF;
// Crossing, junction and between: they join the feature of column D to a second one in column E.
constexpr std::array<const char*, 3> JoiningSymbols{"10.1", "10.2", "12.14"};

class SheetParser
{
public:
    SheetParser(const QString& path, const SymbolNotation& notation) : m_path(path), m_notation(notation) {}

    void parseLine(const QString& text, int line, DescriptionSheet& sheet);

private:
    [[noreturn]] void fail(const char* message, const QStringList& arguments = {}) const
    {
        throw AppError(QString::fromLatin1(message), arguments).inFile(m_path).atLine(m_line);
    }
    qint32 number(const QString& word, qint32 first, qint32 last) const;
    LineCells cells(const QStringList& symbols) const;
    void requireSecondFeature(const LineCells& cells) const;

    QString m_path;
    const SymbolNotation& m_notation;
    int m_line = 0;
};

qint32 SheetParser::number(const QString& word, qint32 first, qint32 last) const
{
    bool ok = false;
    const qint32 value = word.toInt(&ok);
    if (!ok)
        fail(Msg::InvalidNumericInput);
    if (value < first || value > last)
        fail(Msg::ValueOutOfRange, {QString::number(first), QString::number(last)});
    return value;
}

LineCells SheetParser::cells(const QStringList& symbols) const
{
    LineCells cells{};
    int last = SheetColumn::None;
    for (const QString& symbol : symbols) {
        const qint32 code = m_notation.code(symbol);
        if (code == 0)
            fail(Msg::UnknownSymbol, {symbol});
        int column = m_notation.column(code);
        // a second feature (between two features, a crossing) stands in column E
        if (column == SheetColumn::D && last >= SheetColumn::D)
            column = SheetColumn::E;
        if (column == SheetColumn::None || column <= last)
            fail(Msg::SymbolOutOfPlace, {symbol});
        cells[column] = code;
        last = column;
    }
    requireSecondFeature(cells);
    return cells;
}

void SheetParser::requireSecondFeature(const LineCells& cells) const
{
    const bool twoFeatures =
        cells[SheetColumn::E] != 0 && m_notation.column(cells[SheetColumn::E]) == SheetColumn::D;
    if (twoFeatures)
        return;
    for (const char* joining : JoiningSymbols) {
        const QString notation = QString::fromLatin1(joining);
        const qint32 code = m_notation.code(notation);
        if (code != 0 && (cells[SheetColumn::F] == code || cells[SheetColumn::G] == code))
            fail(Msg::OneFeatureOfTwo, {notation});
    }
}

void SheetParser::parseLine(const QString& text, int line, DescriptionSheet& sheet)
{
    m_line = line;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
        return;
    QStringList words = trimmed.simplified().split(QLatin1Char(' '));
    const QString first = words.takeFirst();
    const QString keyword = first.toLower();
    const QString rest = trimmed.mid(first.size()).trimmed();
    if (keyword == QLatin1String("title")) {
        sheet.title = rest;
    } else if (keyword == QLatin1String("course")) {
        sheet.course = rest;
    } else if (keyword == QLatin1String("length")) {
        sheet.length = rest;
    } else if (keyword == QLatin1String("climb")) {
        sheet.climb = rest;
    } else if (keyword == QLatin1String("start")) {
        SheetRow row;
        row.kind = SheetRow::Start;
        row.cells = cells(words);
        sheet.rows.append(row);
    } else if (keyword == QLatin1String("instruction") || keyword == QLatin1String("finish")) {
        SheetRow row;
        row.kind = keyword == QLatin1String("finish") ? SheetRow::Finish : SheetRow::Instruction;
        if (words.size() > 1 || (words.isEmpty() && row.kind == SheetRow::Instruction))
            fail(Msg::ValueOutOfRange, {QString::number(FirstInstruction), QString::number(LastInstruction)});
        if (!words.isEmpty())
            row.instruction = number(words.first(), FirstInstruction, LastInstruction);
        sheet.rows.append(row);
    } else if (first.front().isDigit()) {
        SheetRow row;
        row.code = QString::number(number(first, FirstControlCode, LastControlCode));
        row.cells = cells(words);
        sheet.rows.append(row);
    } else {
        fail(Msg::NotASheetLine, {first});
    }
}

} // namespace

DescriptionSheet readDescriptionSheet(const QString& path, const SymbolNotation& notation)
{
    const QString absolute = QDir::current().absoluteFilePath(path);
    DescriptionSheet sheet;
    SheetParser parser(absolute, notation);
    const QList<QByteArray> lines = Files::splitLines(Files::readAll(absolute));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString text = QString::fromUtf8(lines[i]);
        if (i == 0 && text.startsWith(QChar(ByteOrderMark)))
            text.remove(0, 1);
        parser.parseLine(text, int(i + 1), sheet);
    }
    const bool hasControl = std::any_of(sheet.rows.cbegin(), sheet.rows.cend(),
                                        [](const SheetRow& row) { return row.kind == SheetRow::Control; });
    if (!hasControl)
        throw AppError(QString::fromLatin1(Msg::SheetWithoutControls)).inFile(absolute);
    return sheet;
}
