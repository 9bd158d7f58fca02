#pragma once

#include <QString>
#include <QVariantList>

// Fills a message text: printf-style %s and %d take the values in order,
// %1 to %9 take the value of that number, %% is a percent sign.  The result
// is cut to the 2047 characters a message buffer holds.
class MessageFormat
{
public:
    static constexpr qsizetype MaxLength = 2047;
    static QString Format(const QString& format, const QVariantList& values);
};
