#include "MessageFormat.h"

QString MessageFormat::Format(const QString& format, const QVariantList& values)
{
    QString text;
    qsizetype nextValue = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar character = format[i];
        const QChar next = i + 1 < format.size() ? format[i + 1] : QChar();
        if (character != QLatin1Char('%') || next.isNull()) {
            text += character;
            continue;
        }
        ++i;
        if (next == QLatin1Char('s')) {
            text += values.value(nextValue++).toString();
        } else if (next == QLatin1Char('d')) {
            text += QString::number(values.value(nextValue++).toInt());
        } else if (next >= QLatin1Char('1') && next <= QLatin1Char('9')) {
            text += values.value(next.unicode() - '1').toString();
        } else if (next == QLatin1Char('%')) {
            text += QLatin1Char('%');
        } else {
            text += character;
            text += next;
        }
    }
    return text.left(MaxLength);
}
