#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSettings;

// Writes an INI settings store through SafeFileWriter.  QSettings writes its
// INI file through a buffered QSaveFile whose commit reports success when
// the last buffered write failed, so a full disk cuts the file off and the
// next start is a first run.  Here QSettings only reads: the whole file is
// written in the INI dialect it reads back, and a failure is reported with
// the old file kept whole.
class IniFileWriter
{
public:
    // The store's current keys with changes set and removed keys dropped,
    // written over the store's file; the store then reads the new file.
    static bool Store(QSettings& store, const QMap<QString, QVariant>& changes, const QStringList& removed);
    // The INI text of keys "Section/Name" (a key without a section goes to
    // [General]); strings are quoted, numbers are bare.
    static QByteArray Serialize(const QMap<QString, QVariant>& values);

private:
    static QByteArray EscapedKey(const QString& key);
    static QByteArray EscapedString(const QString& text);
    static QByteArray EscapedValue(const QVariant& value);
};
