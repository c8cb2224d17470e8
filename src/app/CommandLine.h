// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The program's command-line runs, which never open a window: `--export-statistics FILE.csv`,
// `--export-results FILE.csv`, the courses of an event file `--list-courses FILE.ppen`, the printouts
// `--print-test N`, `--print-handout KIND` and `--print-sheet FILE.txt` (or `--print-sheet FILE.ppen` with
// `--course NAME` or `--all-courses`) with `--pdf FILE.pdf` (and `--paper`), `--help` and `--version`.
// Returns the exit status of such a run, or -1 when the arguments ask for none (the trainer then starts as
// usual; Qt's own one-dash options go to it).
int runCommandLine(int argc, char** argv);

// The usage error of arguments left over when the window's toolkit has taken its own options
// (`quill foo`, `quill -x`): named on standard error; returns the exit status 2.
int refuseWindowArguments(const QStringList& arguments);

// Without a display to open the window on (no DISPLAY, WAYLAND_DISPLAY or platform named) the
// window system would abort the program: says so on standard error and returns the exit status 1.
// Returns -1 when the window can be tried.
int refuseWithoutDisplay(int argc, char** argv);
