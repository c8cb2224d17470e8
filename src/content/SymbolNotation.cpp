// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/SymbolNotation.h"

#include "content/TabbedFile.h"
#include "platform/AppError.h"

namespace {
constexpr char Letters[] = "CDEFGH";
constexpr char SheetMarks[] = "sheet";
// The highest character code of the symbol font.
constexpr qint32 LastCode = 255;
} // namespace

QChar SheetColumn::letter(int column)
{
    return column >= 0 && column < Count ? QLatin1Char(Letters[column]) : QChar();
}

SymbolNotation::SymbolNotation()
{
    const TabbedFile table =
        readTabbedFile(QString::fromLatin1(FileName),
                       {QStringLiteral("code"), QStringLiteral("notation"), QStringLiteral("column")});
    for (qsizetype i = 0; i < table.rows.size(); ++i) {
        const QStringList& row = table.rows[i];
        bool ok = false;
        const qint32 code = row[0].toInt(&ok);
        const QString notation = row[1].trimmed().toLower();
        const QString column = row[2].trimmed();
        const qsizetype index = QByteArrayView(Letters).indexOf(column.toLatin1());
        const bool knownColumn = column == QLatin1String(SheetMarks) || (column.size() == 1 && index >= 0);
        if (!ok || code <= 0 || code > LastCode || notation.isEmpty() || !knownColumn ||
            m_codes.contains(notation) || m_notations.contains(code))
            throw AppError(QString::fromLatin1(Msg::DamagedFile)).inFile(table.path).atLine(table.lines[i]);
        m_codes.insert(notation, code);
        m_notations.insert(code, row[1].trimmed());
        m_columns.insert(code, column.size() == 1 ? int(index) : SheetColumn::None);
    }
}

qint32 SymbolNotation::code(const QString& notation) const
{
    return m_codes.value(notation.trimmed().toLower());
}

QString SymbolNotation::notation(qint32 code) const
{
    return m_notations.value(code);
}

int SymbolNotation::column(qint32 code) const
{
    return m_columns.value(code, SheetColumn::None);
}
