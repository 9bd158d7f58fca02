#pragma once

#include "model/EntryDiff.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <optional>
#include <vector>

class CCarvestoneDoc;
class CarvestoneSettings;
class GameCopies;
class TableViewPart;

// What the open MOD changes against the game, file by file: each file is
// compared with its kept original, else with the game archive's copy
// (read by GameCopies), as it is on disk or, for an open table, as it is
// in the table view.  Feeds the changes list and the project tree's
// counts, and hands the table view the originals it asks for.
class ModChanges : public QObject
{
    Q_OBJECT

public:
    ModChanges(const CCarvestoneDoc& document, const CarvestoneSettings& settings, GameCopies& copies,
               QObject* parent = nullptr);

    void SetTableView(TableViewPart* view) { tableView = view; }

    // Compares every file again, soon (the project or the game changed).
    void RefreshAll();
    // Compares one file again, soon (its open table changed or closed).
    void RefreshFile(const QString& namePart);
    // Does the waiting comparisons now.
    void Flush();

    // One comparison a file, in project order; a file whose original is
    // still being read is missing.
    const std::vector<EntryDiff>& Files() const { return files; }
    // The changes of each file, by archive name.
    QHash<QString, int> Counts() const;
    // Why the game's copies could not be read; empty when they could.
    QString GameProblem() const;
    bool IsReadingGame() const;

    // An open table without a kept original wants the game's copy.
    void OfferOriginal(const QString& namePart);

Q_SIGNALS:
    void Updated();

private:
    QString EntryOf(const QString& namePart) const;
    // The original's bytes and where they come from; unknown (has_value
    // false on known) while the game's copy is being read.
    std::optional<QByteArray> OriginalOf(const QString& entry, QString* name, bool* known) const;
    std::optional<EntryDiff> Compare(const QString& entry) const;
    void OnGameReady(const QString& archive);
    void OnGameFailed(const QString& archive);

    const CCarvestoneDoc& document;
    const CarvestoneSettings& settings;
    GameCopies& copies;
    TableViewPart* tableView = nullptr;
    std::vector<EntryDiff> files;
    QSet<QString> dirty;
    bool allDirty = true;
    QTimer timer;
    QSet<QString> offered; // name parts of open tables waiting for the game's copy
};
