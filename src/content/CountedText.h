// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A text of the string table that counts something, in the form the active language uses for the
// count: `oneId` for one (in French also for none), `manyId` for the others. The count fills its
// %1; further arguments are left to the caller.
QString countedText(int oneId, int manyId, qint64 count);
