// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of a course setter's event files on a file written from the input: it reads the whole
// file or refuses it naming the file. What it reads holds together: every course's controls are in
// the event, every description stands in a box C to H or across its row with a symbol of the id
// table or a text, the lengths are numbers, and each course with a control makes a sheet whose
// rows hold the descriptions in their boxes.
#include "FuzzSupport.h"
#include "content/CourseEvent.h"
#include "content/CourseSheet.h"
#include "platform/AppError.h"

#include <QSet>
#include <cmath>
#include <memory>

namespace {

const QString FileName = QStringLiteral("event.ppen");
std::unique_ptr<SymbolNotation> notation;

// A notation table with a code for every symbol the id table names.
void writeNotation()
{
    QByteArray table = "code\tnotation\tcolumn\n1\tstart\tsheet\n2\tfinish\tsheet\n";
    QSet<QString> written;
    int code = 3;
    for (const QString& id : CourseSymbolIds::allIds()) {
        const QString ours = CourseSymbolIds::lookUp(id)->notation;
        if (ours.isEmpty() || written.contains(ours))
            continue;
        written.insert(ours);
        table += QByteArray::number(code++) + '\t' + ours.toLatin1() + "\tD\n";
    }
    Fuzz::writeFile(QString::fromLatin1(SymbolNotation::FileName), table);
}

// The rows each control of the course makes: its own (none for a kind the sheet does not show),
// and a control's special instruction after it.
void checkSheet(const CourseEvent& event, const EventCourse& course)
{
    const DescriptionSheet sheet = courseSheet(event, course, *notation);
    qsizetype row = 0;
    for (const QString& id : course.controls) {
        const EventControl& control = event.control(id);
        if (control.kind == EventControl::Other)
            continue;
        Fuzz::check(row < sheet.rows.size(), "a control has no row on the sheet");
        const SheetRow& own = sheet.rows[row++];
        if (control.kind != EventControl::Normal && control.kind != EventControl::Start)
            continue;
        bool instruction = false;
        for (const ControlDescription& d : control.descriptions) {
            if (d.box == ControlDescription::WholeRow) {
                instruction = instruction || d.symbol.instruction != 0;
                continue;
            }
            const qint32 code = d.symbol.notation.isEmpty() ? 0 : notation->code(d.symbol.notation);
            Fuzz::check(code == 0 || own.cells[d.box] != 0, "a symbol is missing from its box");
            Fuzz::check(!d.text.isEmpty() == !own.texts[d.box].isEmpty() || own.cells[d.box] != 0,
                        "a text is missing from its box");
        }
        // the last of a control's special instructions has a row after it
        if (instruction && control.kind == EventControl::Normal) {
            Fuzz::check(row < sheet.rows.size() && sheet.rows[row].kind == SheetRow::Instruction,
                        "a control's special instruction has no row after it");
            ++row;
        }
    }
    Fuzz::check(row == sheet.rows.size(), "the sheet has rows of no control");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Fuzz::initialise(argc, argv);
    writeNotation();
    notation = std::make_unique<SymbolNotation>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::writeFile(FileName, Fuzz::bytes(data, size));
    CourseEvent event;
    try {
        event = readCourseEvent(FileName);
    } catch (const AppError& error) {
        Fuzz::check(!error.file().isEmpty(), "a refusal names no file");
        return 0;
    }
    for (const EventCourse& course : event.courses) {
        for (const QString& id : course.controls)
            Fuzz::check(event.controls.contains(id), "a course has a control the event lacks");
        for (const QString& id : course.controls) {
            for (const ControlDescription& d : event.control(id).descriptions) {
                Fuzz::check(d.box >= 0 && d.box <= ControlDescription::WholeRow, "a description has no box");
                Fuzz::check(d.symbolId.isEmpty() != d.text.isEmpty(), "a description is no symbol or text");
                Fuzz::check(d.symbolId.isEmpty() || CourseSymbolIds::lookUp(d.symbolId).has_value(),
                            "a description names an unknown id");
            }
        }
        const std::optional<double> km = event.lengthKm(course);
        Fuzz::check(!km || (std::isfinite(*km) && *km >= 0), "a length is no number");
        if (event.controlCount(course) > 0)
            checkSheet(event, course);
    }
    return 0;
}
