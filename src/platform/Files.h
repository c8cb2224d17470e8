#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Files of the program are named bare, relative to the working directory, and letter case does not
// tell them apart.
namespace Files {

// The path of the file whose name equals `name` apart from letter case, looked up in `directory`
// (the working directory when empty). An exact match wins. Empty when there is no such file.
QString find(const QString& name, const QString& directory = {});

// Whether such a file exists.
bool exists(const QString& name);

// Opens the file for reading; throws the input/output error ("File not found", ...) on failure.
void openForRead(QFile& file, const QString& name);

// Reads a whole file; throws the input/output error on failure.
QByteArray readAll(const QString& name);

// Throws the input/output error that describes why `file` could not be opened.
[[noreturn]] void throwOpenError(const QFile& file);

} // namespace Files
