// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

// The names of every test in the active language, by test number: the catalogues' tests, the
// quick quiz's directions and the weak-symbol drills. For lists that outlive the language a
// result was played in (the results export).
class TestNames
{
public:
    // Reads the catalogues of the active language; a catalogue that cannot be read names none.
    TestNames();
    // The test's name, without the blank that lines up the catalogues' names; empty when no test
    // has the number.
    QString name(qint32 testNumber) const;

private:
    QHash<qint32, QString> m_names;
};
