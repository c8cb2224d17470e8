// SPDX-License-Identifier: GPL-3.0-or-later
#include "content/CourseSheet.h"

#include "platform/AppError.h"

namespace {

// The instruction a crossing point or a map exchange stands for when the file names none.
constexpr qint32 CrossingPointInstruction = 993;
constexpr qint32 MapExchangeInstruction = 995;

// The boxes of a control's row, and what it writes across them.
struct RowContent
{
    LineCells cells{};
    std::array<QString, SheetColumn::Count> texts{};
    QString text;
    qint32 instruction = 0;
};

RowContent contentOf(const CourseEvent& event, const EventControl& control, const SymbolNotation& notation)
{
    RowContent row;
    for (const ControlDescription& d : control.descriptions) {
        if (d.box == ControlDescription::WholeRow) {
            if (d.symbol.instruction != 0)
                row.instruction = d.symbol.instruction;
            else
                row.text = d.text;
            continue;
        }
        if (!d.symbol.notation.isEmpty()) {
            const qint32 code = notation.code(d.symbol.notation);
            if (code == 0)
                throw AppError(QString::fromLatin1(Msg::UnknownSymbol), {d.symbol.notation})
                    .inFile(event.path);
            row.cells[d.box] = code;
        } else {
            row.texts[d.box] = d.text;
        }
    }
    return row;
}

SheetRow instructionRow(SheetRow::Kind kind, qint32 instruction, const QString& text)
{
    SheetRow row;
    row.kind = kind;
    row.instruction = instruction;
    row.text = text;
    return row;
}

} // namespace

DescriptionSheet courseSheet(const CourseEvent& event, const EventCourse& course,
                             const SymbolNotation& notation)
{
    if (event.controlCount(course) == 0)
        throw AppError(QString::fromLatin1(Msg::CourseWithoutControls), {course.name}).inFile(event.path);
    DescriptionSheet sheet;
    sheet.title = event.title;
    sheet.course = course.name;
    sheet.length = courseLength(event, course);
    sheet.climb = courseClimb(course);
    for (const QString& id : course.controls) {
        const EventControl& control = event.control(id);
        const RowContent content = contentOf(event, control, notation);
        SheetRow row;
        row.cells = content.cells;
        row.texts = content.texts;
        row.text = content.text;
        switch (control.kind) {
        case EventControl::Start:
            row.kind = SheetRow::Start;
            sheet.rows.append(row);
            break;
        case EventControl::Normal:
            row.kind = SheetRow::Control;
            row.code = control.code;
            sheet.rows.append(row);
            // a special instruction of a control follows its row
            if (content.instruction != 0)
                sheet.rows.append(instructionRow(SheetRow::Instruction, content.instruction, QString()));
            break;
        case EventControl::CrossingPoint:
        case EventControl::MapExchange: {
            const qint32 fallback = control.kind == EventControl::CrossingPoint ? CrossingPointInstruction
                                                                                : MapExchangeInstruction;
            const qint32 instruction = content.instruction != 0 ? content.instruction : fallback;
            sheet.rows.append(instructionRow(SheetRow::Instruction, instruction, QString()));
            break;
        }
        case EventControl::Finish:
            sheet.rows.append(instructionRow(SheetRow::Finish, content.instruction, content.text));
            break;
        case EventControl::Other:
            break;
        }
    }
    return sheet;
}

QString courseLength(const CourseEvent& event, const EventCourse& course)
{
    const std::optional<double> km = event.lengthKm(course);
    return km ? QString::number(*km, 'f', 1) + QLatin1String(" km") : QString();
}

QString courseClimb(const EventCourse& course)
{
    return course.climb ? QString::number(*course.climb) + QLatin1String(" m") : QString();
}
