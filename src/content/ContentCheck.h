// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The content files whose checksum line is checked before the program uses any of its content, in
// the window and on the command line alike: the picture library's texts and the description
// symbols' of the active language, and the map symbols' where there are any.
namespace ContentCheck {

QStringList checkedFiles();

// The absolute path of the first checked file whose checksum line does not match its content;
// empty when every one matches. Throws the input/output error of a file that cannot be read.
QString firstWrongChecksum();

} // namespace ContentCheck
