#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>

// What a cell may hold: the tables are Latin-1 bytes separated by TAB and
// CR LF, so a TAB, CR, LF or NUL inside a cell would shift the table's
// columns or rows when it is saved, and a character above U+00FF has no byte.
// Typing and pasting both go through this rule.
class CellTextRule
{
public:
    static bool IsAllowed(QChar ch);
    static bool IsAllowed(const QString& text);
    // The text without the characters a cell cannot hold.
    static QString Filter(const QString& text);
    // The same for a text in Latin-1 bytes, where only TAB, CR, LF and NUL
    // can be amiss.
    static bool IsAllowed(QByteArrayView latin1);
    static QByteArray Filter(QByteArrayView latin1);
    // The short message shown when input lost characters to the rule.
    static QString DroppedMessage();
};
