#include "RecoveryKeeper.h"

#include "CCarvestoneDoc.h"
#include "ui/TableViewPart.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>

RecoveryKeeper::RecoveryKeeper(const CCarvestoneDoc& document, const TableViewPart& tables, const QString& folder,
                               int quietMs, int longestWaitMs)
    : document(document)
    , tables(tables)
    , writer(folder, [this](const QString& error) {
        // The report comes on the writer's thread; the keeper hears it on
        // its own, and not at all once it is gone.
        QMetaObject::invokeMethod(this, [this, error] { OnWriterReport(error); }, Qt::QueuedConnection);
    })
{
    quiet.setSingleShot(true);
    quiet.setInterval(quietMs);
    longest.setSingleShot(true);
    longest.setInterval(longestWaitMs);
    connect(&quiet, &QTimer::timeout, this, &RecoveryKeeper::Record);
    connect(&longest, &QTimer::timeout, this, &RecoveryKeeper::Record);
}

RecoveryKeeper::~RecoveryKeeper()
{
    if (recorded)
        writer.Remove();
    writer.Flush();
}

void RecoveryKeeper::NoteChange()
{
    if (!HoldsUnsavedWork()) {
        Record();
        return;
    }
    quiet.start();
    if (!longest.isActive())
        longest.start();
}

void RecoveryKeeper::RecordNow()
{
    Record();
    writer.Flush();
}

void RecoveryKeeper::Record()
{
    quiet.stop();
    longest.stop();
    if (!HoldsUnsavedWork()) {
        taken.clear();
        if (recorded)
            writer.Remove();
        recorded = false;
        return;
    }
    writer.Write(Collect());
    recorded = true;
}

bool RecoveryKeeper::HoldsUnsavedWork() const
{
    if (document.Model().IsModified())
        return true;
    const QList<TableViewPart::TableState> states = tables.TableStates();
    return std::any_of(states.cbegin(), states.cend(), [](const auto& state) { return state.modified; });
}

RecoveryRecord RecoveryKeeper::Collect()
{
    RecoveryRecord record;
    record.processId = QCoreApplication::applicationPid();
    record.writtenAt = QDateTime::currentMSecsSinceEpoch();
    record.projectPath = document.GetPathName();
    record.projectModified = document.Model().IsModified();
    if (record.projectModified)
        record.entries = document.FileList();
    QHash<QString, TakenContent> stillOpen;
    for (const TableViewPart::TableState& state : tables.TableStates()) {
        RecoveryRecord::Table table{state.name, state.modified, {}, state.savedSize, state.savedTime};
        if (state.modified) {
            // A table that did not change since the last record is not
            // taken again: a large one costs milliseconds.
            auto found = taken.constFind(state.name);
            TakenContent content = found != taken.cend() && found->revision == state.revision
                ? *found
                : TakenContent{state.revision, tables.TableContent(state.name)};
            table.content = content.bytes;
            stillOpen.insert(state.name, std::move(content));
        }
        record.tables.append(std::move(table));
    }
    taken = std::move(stillOpen);
    return record;
}

void RecoveryKeeper::OnWriterReport(const QString& error)
{
    if (error.isEmpty()) {
        failureSaid = false;
        return;
    }
    if (failureSaid)
        return;
    failureSaid = true;
    Q_EMIT RecordFailed(error);
}
