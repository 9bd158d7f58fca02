#include "IniFileWriter.h"

#include "SafeFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString GeneralSection = QStringLiteral("General");

bool IsPlainKeyCharacter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
        || c == u'-' || c == u'.';
}

QByteArray Hex(uint value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

} // namespace

QByteArray IniFileWriter::EscapedKey(const QString& key)
{
    // As QSettings spells keys: '/' inside a section becomes '\', and what is
    // not a plain character becomes %XX (or %UXXXX beyond Latin-1).
    QByteArray escaped;
    for (const QChar character : key) {
        const char16_t c = character.unicode();
        if (c == u'/')
            escaped += '\\';
        else if (IsPlainKeyCharacter(c))
            escaped += char(c);
        else if (c <= 0xFF)
            escaped += '%' + Hex(c, 2);
        else
            escaped += "%U" + Hex(c, 4);
    }
    return escaped;
}

QByteArray IniFileWriter::EscapedString(const QString& text)
{
    // Quoted, so that commas, semicolons and blanks stay part of the value.
    // A leading '@' would be read as a type marker: QSettings doubles it.
    const QString value = text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text;
    QByteArray escaped = "\"";
    bool escapeNextHexDigit = false;
    for (const QChar character : value) {
        const char16_t c = character.unicode();
        const bool hexDigit = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (c == u'\\' || c == u'"') {
            escaped += '\\';
            escaped += char(c);
        } else if (c == u'\n') {
            escaped += "\\n";
        } else if (c == u'\r') {
            escaped += "\\r";
        } else if (c == u'\t') {
            escaped += "\\t";
        } else if (c < 0x20 || (escapeNextHexDigit && hexDigit)) {
            // A \x escape runs on over every hex digit that follows it.
            escaped += "\\x" + QByteArray::number(uint(c), 16);
            escapeNextHexDigit = true;
            continue;
        } else {
            escaped += QString(character).toUtf8();
        }
        escapeNextHexDigit = false;
    }
    return escaped + '"';
}

QByteArray IniFileWriter::EscapedValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toString().toLatin1();
    case QMetaType::QStringList: {
        QByteArrayList items;
        for (const QString& item : value.toStringList())
            items << EscapedString(item);
        return items.join(", ");
    }
    default:
        return EscapedString(value.toString());
    }
}

QByteArray IniFileWriter::Serialize(const QMap<QString, QVariant>& values)
{
    QMap<QString, QList<std::pair<QString, QVariant>>> sections;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? GeneralSection : it.key().left(slash);
        sections[section].append({slash < 0 ? it.key() : it.key().mid(slash + 1), it.value()});
    }
    QByteArray text;
    for (auto section = sections.begin(); section != sections.end(); ++section) {
        if (!text.isEmpty())
            text += '\n';
        text += '[' + EscapedKey(section.key()) + "]\n";
        for (const auto& [name, value] : section.value())
            text += EscapedKey(name) + '=' + EscapedValue(value) + '\n';
    }
    return text;
}

bool IniFileWriter::Store(QSettings& store, const QMap<QString, QVariant>& changes, const QStringList& removed)
{
    QMap<QString, QVariant> values;
    for (const QString& key : store.allKeys())
        values.insert(key, store.value(key));
    for (const QString& key : removed)
        values.remove(key);
    values.insert(changes);
    QDir().mkpath(QFileInfo(store.fileName()).absolutePath());
    if (!SafeFileWriter::WriteFile(store.fileName(), Serialize(values), nullptr))
        return false;
    store.sync();
    return true;
}
