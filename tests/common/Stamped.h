// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "content/Checksum.h"

#include <QByteArray>

// A content file under check: its checksum line, then `body`.
inline QByteArray stamped(const QByteArray& body)
{
    return QByteArray::number(BodyChecksum(body, 3)) + "\r\n" + body;
}
