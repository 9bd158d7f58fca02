#include "grid/CellTextRule.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

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

namespace {

// Every Latin-1 byte is a character a cell can hold but these.
constexpr auto IsAllowedByte = [](char byte) {
    return byte != '\t' && byte != '\r' && byte != '\n' && byte != '\0';
};

} // namespace

// Tables are loaded through here a field at a time, hundreds of thousands
// of them: a byte test, no character conversion.
bool CellTextRule::IsAllowed(QByteArrayView latin1)
{
    return std::all_of(latin1.cbegin(), latin1.cend(), IsAllowedByte);
}

QByteArray CellTextRule::Filter(QByteArrayView latin1)
{
    QByteArray kept;
    kept.reserve(latin1.size());
    std::copy_if(latin1.cbegin(), latin1.cend(), std::back_inserter(kept), IsAllowedByte);
    return kept;
}

QString CellTextRule::DroppedMessage()
{
    return QCoreApplication::translate("CellTextRule",
                                       "Tabs, line breaks and characters outside Latin-1 cannot be stored in a cell "
                                       "and were left out.");
}
