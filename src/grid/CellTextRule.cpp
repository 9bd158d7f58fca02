#include "grid/CellTextRule.h"

#include <QCoreApplication>

#include <algorithm>

bool CellTextRule::IsAllowed(QChar ch)
{
    const char16_t code = ch.unicode();
    return code <= 0xFF && code != u'\t' && code != u'\r' && code != u'\n' && code != 0;
}

bool CellTextRule::IsAllowed(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar ch) { return IsAllowed(ch); });
}

QString CellTextRule::Filter(const QString& text)
{
    if (IsAllowed(text))
        return text;
    QString kept;
    kept.reserve(text.size());
    for (QChar ch : text) {
        if (IsAllowed(ch))
            kept.append(ch);
    }
    return kept;
}

bool CellTextRule::IsAllowed(QByteArrayView latin1)
{
    return std::all_of(latin1.cbegin(), latin1.cend(), [](char byte) { return IsAllowed(QChar(uchar(byte))); });
}

QByteArray CellTextRule::Filter(QByteArrayView latin1)
{
    QByteArray kept;
    kept.reserve(latin1.size());
    for (const char byte : latin1) {
        if (IsAllowed(QChar(uchar(byte))))
            kept.append(byte);
    }
    return kept;
}

QString CellTextRule::DroppedMessage()
{
    return QCoreApplication::translate("CellTextRule",
                                       "Tabs, line breaks and characters outside Latin-1 cannot be stored in a cell "
                                       "and were left out.");
}
