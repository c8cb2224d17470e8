// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

#include <functional>

class QFile;
class QFileDevice;
class QSaveFile;

// Files of the program are named bare, relative to the working directory, and letter case does not
// tell them apart.
namespace Files {

// The path of the regular file (or link to one) whose name equals `name` apart from letter case,
// looked up in `directory` (the working directory when empty). An exact match wins. Empty when there
// is no such file.
QString find(const QString& name, const QString& directory = {});

// Whether such a file exists.
bool exists(const QString& name);

// Opens the file for reading; throws the input/output error ("File not found", ...) on failure.
// Only a regular file (or a symbolic link to one) is opened: a folder, device, pipe or socket is
// refused with what it is, and never waited on.
void openForRead(QFile& file, const QString& name);

// Throws the input/output error naming `path` unless it is a regular file (or a link to one), or no
// file at all where `mayBeNew`: for files opened by others (a database) than this layer.
void requireRegular(const QString& path, bool mayBeNew);

// Opens `file` (its name set) in `mode` as openForRead does: a regular file, or a new one where
// `mode` creates it; anything else is refused with the input/output error naming it.
void openRegular(QFile& file, QIODevice::OpenMode mode);

// Reads a whole file; throws the input/output error on failure.
QByteArray readAll(const QString& name);

// Throws the input/output error that describes why `file` could not be opened.
[[noreturn]] void throwOpenError(const QFile& file);

// Throws the input/output error of a failed operation on `file`, naming it; `errorNumber` is errno
// as the failing call left it (cleared before the call, so 0 means the system gave no reason).
[[noreturn]] void throwFileError(const QFileDevice& file, int errorNumber);

// Replaces the file at `path` with `bytes` in one step: the new content goes to a fresh temporary
// file in the same folder, which is renamed over the old file only when every byte of it reached
// the disk. On any failure (a full disk among them) the old file stays byte for byte as it was and
// the input/output error naming the file is thrown. `commit` stands in for the final rename (tests).
// Only a regular file or a new name is written: a folder, device, pipe or socket is refused and left
// as it is; a symbolic link is written through when its target is a regular file, else refused.
using Commit = std::function<bool(QSaveFile&)>;
void replaceWhole(const QString& path, const QByteArray& bytes, const Commit& commit = {});
// The same for content written piece by piece: `write` is called with the new file, open for
// writing, and writes its content with `writeAll`; whatever it throws leaves the old file as it was.
using Writer = std::function<void(QSaveFile& file)>;
void replaceWith(const QString& path, const Writer& write, const Commit& commit = {});
// Writes all of `bytes` to `file`; throws its input/output error.
void writeAll(QFileDevice& file, QByteArrayView bytes);

// The lines of a text, each without its end: CR LF, LF and a lone CR all end a line. A line end at
// the very end starts no further line.
QList<QByteArray> splitLines(const QByteArray& text);

} // namespace Files
