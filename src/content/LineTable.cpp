// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/LineTable.h"

#include "content/TabbedFile.h"
#include "platform/AppError.h"

namespace {

constexpr int SameSymbol = 4;
constexpr int SameNumber = 2;
constexpr int SameSection = 1;

// Column E holds an appearance, or the second feature of a line (between two features, a crossing):
// a symbol of column D.
bool fitsColumn(int symbolColumn, int column)
{
    return symbolColumn == column || (column == SheetColumn::E && symbolColumn == SheetColumn::D);
}

} // namespace

LineTable::LineTable(const SymbolNotation& notation)
{
    QStringList header{QStringLiteral("number")};
    for (int c = 0; c < SheetColumn::Count; ++c)
        header << QString(SheetColumn::letter(c));
    const TabbedFile table = readTabbedFile(QString::fromLatin1(FileName), header);
    m_path = table.path;
    for (qsizetype i = 0; i < table.rows.size(); ++i) {
        const QStringList& row = table.rows[i];
        const auto damaged = [&] {
            return AppError(QString::fromLatin1(Msg::DamagedFile)).inFile(m_path).atLine(table.lines[i]);
        };
        bool ok = false;
        const qint32 number = row[0].toInt(&ok);
        if (!ok || m_cells.contains(number))
            throw damaged();
        LineCells cells{};
        for (int c = 0; c < SheetColumn::Count; ++c) {
            const QString cell = row[c + 1].trimmed();
            if (cell.isEmpty())
                continue;
            cells[c] = notation.code(cell);
            if (cells[c] == 0 || !fitsColumn(notation.column(cells[c]), c))
                throw damaged();
            const QString iof = cell.section(QLatin1Char(':'), 0, 0);
            m_numberOfCode.insert(cells[c], {iof, iof.section(QLatin1Char('.'), 0, 0)});
        }
        m_cells.insert(number, cells);
    }
}

int LineTable::likeness(qint32 a, qint32 b) const
{
    const LineCells first = cells(a);
    const LineCells second = cells(b);
    int score = 0;
    for (int c = 0; c < SheetColumn::Count; ++c) {
        if (first[c] == 0 || second[c] == 0)
            continue;
        const auto x = m_numberOfCode.value(first[c]);
        const auto y = m_numberOfCode.value(second[c]);
        if (first[c] == second[c])
            score += SameSymbol;
        else if (x.first == y.first)
            score += SameNumber;
        else if (x.second == y.second)
            score += SameSection;
    }
    return score;
}
