// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The folder that holds the user's own files: the results file and the files kept beside it. A copy
// of the program in a folder the user may write to (a portable copy, on a USB stick say) keeps them
// in its own folder, as it always has. An installed copy, whose folder is read-only or carries the
// installed mark, keeps them in the user's data folder; a file that the program folder still holds
// from before is read from there until the first write, which copies it over first.
namespace DataFolder {

// The file that the install step puts into the program folder. Its presence makes the copy an
// installed one even for a user who may write to the folder (the administrator).
inline constexpr char InstalledMark[] = "INSTALLED";

// Chosen once at start for the program folder `programFolder`: that folder when it is writable and
// not marked as installed, else the user's data folder (not created before it is written to).
void choose(const QString& programFolder);
// Forgets the choice: the working directory holds the files again (tests).
void reset();

// The absolute path of the folder that holds the results file: the program folder, or the user's
// data folder. Before a choice, the working directory.
QString path();
// Whether path() is the user's data folder rather than the program folder.
bool isUserFolder();

// The file `name` to read (letter case ignored): the one in path(), else the one the program folder
// still holds. Empty when there is none.
QString find(const QString& name);
// The file `name` to write in path(), whose folders are made when missing. A file that only the
// program folder holds is copied over first, so that nothing in it is lost. Throws the input/output
// error naming the folder or the file when either cannot be made.
QString fileForWriting(const QString& name);
// The same without the copy: for a file that is written whole.
QString freshFile(const QString& name);

} // namespace DataFolder
