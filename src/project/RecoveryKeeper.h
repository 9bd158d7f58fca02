#pragma once

#include "model/RecoveryRecord.h"
#include "model/RecoveryWriter.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <memory>

class CCarvestoneDoc;
class TableViewPart;

// Keeps the recovery record of the running program in step with its
// unsaved work: written shortly after changes stop, and at least every
// LongestWaitMs while they go on, removed as soon as nothing is unsaved
// (a save, a close that discards) and when the program ends normally.
// Taking a table's content is the only work done on the window's thread,
// and only for tables that changed since the last record; the disk is the
// writer's thread's.
class RecoveryKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr int QuietMs = 1500;
    static constexpr int LongestWaitMs = 30000;

    // Records into folder what document and tables hold unsaved, quietMs
    // after changes stop and at least longestWaitMs after the first change
    // not yet recorded.
    RecoveryKeeper(const CCarvestoneDoc& document, const TableViewPart& tables, const QString& folder,
                   int quietMs = QuietMs, int longestWaitMs = LongestWaitMs);
    // A normal end: the person has decided about every change.
    ~RecoveryKeeper() override;

    // Something may have changed: record soon, or remove the record now
    // when nothing is unsaved any more.
    void NoteChange();
    // Records (or removes) at once and waits until it is on disk.
    void RecordNow();

    const QString& RecordPath() const { return writer.RecordPath(); }

Q_SIGNALS:
    // The record could not be written or removed; error names the file and
    // the cause.  Said again only after a write has succeeded in between.
    void RecordFailed(const QString& error);

private:
    void Record();
    bool HoldsUnsavedWork() const;
    RecoveryRecord Collect();
    void OnWriterReport(const QString& error);

    struct TakenContent
    {
        quint64 revision;
        QByteArray bytes;
    };

    const CCarvestoneDoc& document;
    const TableViewPart& tables;
    QTimer quiet;
    QTimer longest;
    bool recorded = false;
    bool failureSaid = false;
    QHash<QString, TakenContent> taken; // by table name
    RecoveryWriter writer;
};
