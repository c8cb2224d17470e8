// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/CourseEvent.h"
#include "content/DescriptionSheet.h"

// The description sheet of a course of an event file: the event's title, the course's name, its
// length in kilometres (one decimal) and climb, then the start, a row for each control with its
// code and descriptions in the boxes the file gives them, a row for each special instruction (of a
// control, a crossing point, a map exchange) and the finish. Throws "Course %s has no control"
// naming the file for a course without one.
DescriptionSheet courseSheet(const CourseEvent& event, const EventCourse& course,
                             const SymbolNotation& notation);

// "4.2 km", or empty when the length is not known.
QString courseLength(const CourseEvent& event, const EventCourse& course);
// "150 m", or empty when the file gives no climb.
QString courseClimb(const EventCourse& course);
