// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The text of `number` in the numbered text file `fileName`: one line per number, the number, one
// separator character and the text. The first line with that number counts. Empty when the file or
// the number is missing; a line that does not start with a number throws "Invalid numeric input".
// Every call reads the file from its start.
QString ReadNumberedText(const QString& fileName, qint32 number);

// The numbers of every line of the numbered text file, in file order; empty when the file is
// missing. Throws like ReadNumberedText.
QList<qint32> NumbersOf(const QString& fileName);

// Every line of the numbered text file as (number, text), in file order; a number's first line
// counts. Empty when the file is missing; throws like ReadNumberedText.
QList<QPair<qint32, QString>> ReadNumberedTexts(const QString& fileName);
