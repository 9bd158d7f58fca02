#pragma once

#include "model/ModRebase.h"
#include "ui/ArchiveWorkDialog.h"
#include "ui/ChangeColours.h"

#include <QSet>

#include <memory>

class CCarvestoneDoc;
class CGridCtrl;
class CarvestoneSettings;
class ChangeMarks;
class ChangesLegend;
class GameCopies;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class RebasePreviewTint;

// "Rebase onto New Game Data": reads the new data's tables (and the game's,
// for files without a kept original) in the child process, merges every
// table of the MOD in memory and shows the result table by table, the
// MOD's changes tinted and the conflicts marked, before anything is
// written.  Rebase writes it all (ModRebase::Apply); Cancel writes nothing.
class RebaseDialog : public ArchiveWorkDialog
{
    Q_OBJECT

public:
    RebaseDialog(const CCarvestoneDoc& document, const CarvestoneSettings& settings, GameCopies& copies,
                 const QString& onto, QWidget* parent = nullptr);
    ~RebaseDialog() override;

    bool IsReading() const { return !waiting.isEmpty(); }
    // After Rebase: where the tables as they were went.
    const QString& BackupFolder() const { return backupFolder; }
    const ModRebase& Rebase() const { return rebase; }

    QLabel* Message() const { return message; }
    QListWidget* Tables() const { return tables; }
    CGridCtrl* Grid() const { return grid.get(); }
    QTreeWidget* Conflicts() const { return conflicts; }
    QPushButton* RebaseButton() const { return rebaseButton; }
    QPushButton* CancelButton() const { return cancelButton; }

protected:
    bool IsBusy() const override { return IsReading(); }
    void showEvent(QShowEvent* event) override;

private:
    QString BaseArchive() const;
    void StartReading();
    void OnRead(const QString& archive);
    void OnFailed(const QString& archive, const QString& why);
    void Plan();
    void ShowTable(int index);
    void GoToConflict();
    void OnRebase();

    const CCarvestoneDoc& document;
    const CarvestoneSettings& settings;
    GameCopies& copies;
    const QString onto;
    ModRebase rebase;
    QSet<QString> waiting;
    QString backupFolder;
    bool started = false;
    ChangeColours colours;

    QLabel* message;
    QProgressBar* progress;
    QListWidget* tables;
    std::unique_ptr<CGridCtrl> grid;
    std::unique_ptr<ChangeMarks> marks;
    std::unique_ptr<RebasePreviewTint> tint;
    ChangesLegend* legend;
    QTreeWidget* conflicts;
    QPushButton* rebaseButton;
    QPushButton* cancelButton;
};
