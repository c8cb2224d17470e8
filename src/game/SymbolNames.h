#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>

// The symbols of each kind and their names in the active language: description symbols are the
// numbers of "Legends." + code with the special instructions of the picture library's text file
// (990 to 999), whole lines its numbers from 1000 on, and map symbols the numbers of "Symbols." + code
// (each file's first line, its checksum, names no symbol).
class SymbolNames
{
public:
    // Reads the text files of one kind (or of every kind); a missing file gives no symbols.
    explicit SymbolNames(int kind = -1);

    // Every symbol of the kind, in the files' order.
    const QList<qint32>& symbols(quint8 kind) const;
    // The name of a symbol; its number when the files have none.
    QString name(quint8 kind, qint32 value) const;
    // The name the files give the symbol; empty when they give none.
    QString ownName(quint8 kind, qint32 value) const;

    // The first number of a whole line in the picture library's text file.
    static constexpr qint32 FirstLineNumber = 1000;

private:
    using Library = std::function<const QList<QPair<qint32, QString>>&()>;
    void read(quint8 kind, const Library& library);

    QList<qint32> m_symbols[3];
    QHash<qint32, QString> m_names[3];
};
