// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageSize>
#include <QString>
#include <optional>

class Printout;

// Printouts written as PDF files: text as text, symbols and pictures as drawings.
namespace PdfFile {

// The paper of the user's locale: Letter where the United States' measures are used, A4 elsewhere.
QPageSize defaultPaper();
// "a4" or "letter", in any letter case; nothing for another name.
std::optional<QPageSize> paperNamed(const QString& name);

// Writes `printout` to `path` on `paper`, in one piece: a file that cannot be written wholly (its
// folder missing, the disk full) leaves nothing behind, and throws its input/output error naming
// the file. The number of pages.
int write(const Printout& printout, const QString& path, const QPageSize& paper);

} // namespace PdfFile
