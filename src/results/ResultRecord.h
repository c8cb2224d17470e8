// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// One result of a finished timed test. In the results file it takes 72 bytes, little-endian:
//   0  name length (0..25)        1 name characters (25 bytes, Latin-1; see NameSlot for the
//                                   characters beyond it)
//  26  test name length (0..25)  27 test name characters (25 bytes)
//  52  test number (int32)       56 time in days (IEEE-754 double)
//  64  errors (int32)            68 padding (4 bytes, zero)
struct TResultRecord
{
    QString PlayerName;
    QString TestName;
    qint32 TestNumber = 0;
    double Time = 0;
    qint32 Errors = 0;

    static constexpr int RecordSize = 72;
    static constexpr int MaxNameLength = 25;
    static constexpr int PlayerNameOffset = 0;
    static constexpr int TestNameOffset = 26;
    static constexpr int TestNumberOffset = 52;
    static constexpr int TimeOffset = 56;
    static constexpr int ErrorsOffset = 64;

    // A record that no finished test can have written: negative errors, or a time that is not a
    // number, negative, or longer than a day. It is kept in the file but never ranked.
    bool isDamaged() const;

    // The 72 bytes of the record. Names are cut to 25 characters; unused bytes are zero.
    QByteArray encode() const;
    // Reads the first 72 bytes of `bytes`, which must hold at least that many. A length byte above
    // 25 counts as 25; the bytes after the used characters are ignored.
    static TResultRecord decode(QByteArrayView bytes);
};
