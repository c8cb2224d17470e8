// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/CourseSymbolIds.h"
#include "content/SymbolNotation.h"

#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>
#include <optional>

// One description of a control: a symbol or a text in one box of its row, or across the row.
struct ControlDescription
{
    // SheetColumn::C to H, or WholeRow.
    static constexpr int WholeRow = SheetColumn::Count;
    int box = SheetColumn::D;
    // The symbol, looked up in CourseSymbolIds; empty for a text.
    QString symbolId;
    CourseSymbolIds::Target symbol;
    QString text;
};

// A control of the event: a place on the map with its descriptions.
struct EventControl
{
    enum Kind { Normal, Start, Finish, CrossingPoint, MapExchange, Other };
    QString id;
    Kind kind = Normal;
    QString code;
    QList<ControlDescription> descriptions;
    // In millimetres of the map; nothing when the file gives no place.
    std::optional<QPointF> location;

    // How a message names the control: its code, or its kind and id.
    QString shownName() const;
};

// A course: its controls in running order, from the start to the finish.
struct EventCourse
{
    QString name;
    int order = 0;
    // The ids of its controls (EventControl::id), crossing points and map exchanges among them.
    QStringList controls;
    std::optional<int> climb; // metres
    int printScale = 0;       // 0 when the file gives none
};

// An event of a course setter's program, as far as the trainer uses it.
struct CourseEvent
{
    enum Standard { Standard2004, Standard2018 };
    QString path; // absolute
    QString title;
    Standard standard = Standard2004;
    int mapScale = 0; // 0 when the file gives none
    QHash<QString, EventControl> controls;
    QList<EventCourse> courses; // in the file's order of courses

    const EventControl& control(const QString& id) const { return *controls.constFind(id); }
    // The course named `name` (letter case ignored); nullptr when there is none.
    const EventCourse* course(const QString& name) const;
    // The numbered controls of `course` (not the start, finish, crossing points, map exchanges).
    int controlCount(const EventCourse& course) const;
    // The sum of the legs from the start through every control to the finish, in kilometres at
    // the map's scale (the course's print scale where the file gives no map scale); nothing
    // when neither is given or a control of the course has no place.
    std::optional<double> lengthKm(const EventCourse& course) const;
};

// The event file larger than this is refused before it is read.
inline constexpr qint64 MaxEventFileBytes = 50LL * 1024 * 1024;

// Reads the event file at `path` (XML, root element "course-scribe-event"): the event's title and
// standard, its controls with their codes, descriptions and places, and its courses, each followed
// from its first course control through "next" to its end. Throws what keeps the file from use,
// naming the file (and the course and control at fault): its input/output error; a file above
// MaxEventFileBytes; a file that is not XML or not an event file, or that gives two controls or
// course controls one id ("The file is damaged", with the line); a course whose controls form a
// loop or that names a course control or control the file lacks; a control of a course without a
// description, with a description that is no symbol or text, in no box C to H or "all", or naming a
// symbol id that CourseSymbolIds does not know (named), or placing a symbol where it cannot stand
// (an instruction in a box, a symbol across a row). Nothing is returned from a file in part.
CourseEvent readCourseEvent(const QString& path);
