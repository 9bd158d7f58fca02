#pragma once

#include "ui/CommandTarget.h"

#include <QObject>

#include <memory>

class CCarvestoneDoc;
class CCarvestoneView;
class CarvestoneSettings;
class ChangesDock;
class GameCopies;
class ModChanges;
class QMainWindow;

// What the MOD changes against the game, for the whole window: reads the
// game's copies, keeps the comparison of every file up to date with the
// project and the open tables, hands open tables their originals, and
// runs the Changes List and Rebase onto New Game Data commands.
class ChangesCommands : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    ChangesCommands(CCarvestoneDoc& document, const CarvestoneSettings& settings, QMainWindow& window,
                    CCarvestoneView& tableView);
    ~ChangesCommands() override;

    ModChanges& Changes() const { return *changes; }
    ChangesDock& Dock() const { return *dock; }
    GameCopies& Copies() const { return *copies; }

    // Asks for the new game data, saves and closes the open tables, and
    // runs the rebase dialog; after a rebase says where the old tables are.
    void OnRebase();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;

private:
    bool CloseTablesFirst();

    CCarvestoneDoc& document;
    const CarvestoneSettings& settings;
    QMainWindow& window;
    CCarvestoneView& tableView;
    std::unique_ptr<GameCopies> copies;
    std::unique_ptr<ModChanges> changes;
    ChangesDock* dock; // owned by the window
};
