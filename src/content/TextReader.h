// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Reads the text files of the program: lines end with CR LF, a lone LF or a lone CR, and a
// character with code 26 ends the file. Numbers are read by one rule everywhere: characters with
// codes up to 32 are skipped, then up to 32 characters up to the next one with a code up to 32 are
// converted as a signed decimal integer; at the end of the file the number is 0. The text is
// Latin-1, or UTF-8 in a file that starts with the UTF-8 byte-order mark (a language with letters
// Latin-1 lacks); the mark is skipped. The reader does not own the bytes it reads.
class TextReader
{
public:
    explicit TextReader(QByteArrayView data);

    // The file is UTF-8, marked by its first bytes.
    bool isUtf8() const { return m_utf8; }
    // Text of this file (a line or a part of one) as characters.
    QString decode(QByteArrayView bytes) const;
    // The reader keeps a view: a temporary array would be gone before it is read.
    explicit TextReader(QByteArray&&) = delete;

    // No characters left (the end of the data or a character 26).
    bool atEnd() const { return m_pos >= m_end; }
    // At a line end (CR or LF) or at the end of the file.
    bool atLineEnd() const { return atEnd() || m_data[m_pos] == '\r' || m_data[m_pos] == '\n'; }

    // Throws "Invalid numeric input" when the token is not a 32-bit signed decimal integer.
    // `itemLine`: in a catalogue's item line a number also ends before '{', '}' or ',', so that
    // "{N7 N8}" and "N1, N2" read as values.
    qint32 readNumber(bool itemLine = false);
    // The characters up to the line end, not including it; the position stays at the line end.
    QByteArray readRestOfLine();
    // Moves past the current line's end to the start of the next line.
    void nextLine();
    // The next raw character (CR and LF included); 26 at the end of the file.
    char readChar();
    qsizetype position() const { return m_pos; }
    // The line (counted from 1) that holds the byte at `position`.
    qsizetype lineAt(qsizetype position) const;

private:
    QByteArrayView m_data;
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
    bool m_utf8 = false;
};

// The UTF-8 byte-order mark that starts a content file written in UTF-8.
inline constexpr char Utf8Mark[] = "\xEF\xBB\xBF";
inline constexpr qsizetype Utf8MarkSize = 3;
// The size of the mark at the start of `data`, 0 when there is none.
qsizetype utf8MarkSize(QByteArrayView data);
