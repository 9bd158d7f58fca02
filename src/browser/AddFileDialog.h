#pragma once

#include "AddFileContext.h"
#include "RenameListDialog.h"

#include "archive/ArchiveBusy.h"
#include "ui/ArchiveWorkDialog.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>

class ArchiveJob;
class ProgressDialog;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Add File to MOD": an archive's files as a folder tree, and the ways a file
// enters the MOD folder: Add (extract the selected file, its bytes kept as
// the file's original), Add Files... (copy
// files from disk under names the user may change), Archive... (show another
// archive), Data Folder... (show a folder of extracted game data, as the
// remaster's modders have it, in the archive's place) and Extract... (save
// one file anywhere).  A folder is listed, cached and added from exactly as
// an archive is.  The archive work
// runs in a child process, so a damaged archive fails with a message instead
// of taking the program down.  No file the user has worked on is replaced
// without asking, and no two entries are given one disk file.
class AddFileDialog : public ArchiveWorkDialog
{
    Q_OBJECT

public:
    AddFileDialog(const AddFileContext& context, QWidget* parent);
    ~AddFileDialog() override;

    // The archive names of the files placed in the MOD folder, sorted in byte
    // order without duplicates; valid however the dialog was closed.
    const QStringList& ResultList() const { return results; }

    // The archive name of a file item; empty for the root and folders.
    static QString ArchiveName(const QTreeWidgetItem* item);

    QLabel* TopText() const { return topText; }
    QTreeWidget* Tree() const { return tree; }
    QPushButton* CloseButton() const { return closeButton; }
    QPushButton* AddButton() const { return addButton; }
    QPushButton* AddFilesButton() const { return addFilesButton; }
    QPushButton* ArchiveButton() const { return archiveButton; }
    QPushButton* DataFolderButton() const { return dataFolderButton; }
    QPushButton* ExtractButton() const { return extractButton; }
    bool IsWorking() const { return job != nullptr; }

protected:
    bool IsBusy() const override { return IsWorking(); }
    void showEvent(QShowEvent* event) override;

private:
    void FillTree();
    // Whether the shown source is a folder of extracted game data.
    bool ShowsFolder() const;
    void FillFromNames(const QStringList& names);
    void ShowFailure(const QString& why);
    void UpdateButtons();

    void OnAdd();
    void OnAddFiles();
    void OnArchive();
    void OnDataFolder();
    void OnExtract();

    // Checks that a file may be placed under the name; asks before replacing.
    bool MayPlace(const QString& name, const QString& source, const QStringList& batch);
    void CopyChosenFile(const RenameListDialog::Item& item, const QStringList& batch);
    void RunJob(const std::function<void(ArchiveJob&)>& start, const std::function<void(ArchiveJob&)>& finished);
    void Record(const QString& name);
    // Keeps the bytes just extracted as the file's original.
    void RecordWithOriginal(const QString& name, const QString& extracted);
    void Tell(const QString& text);

    AddFileContext context;
    QString archivePath;
    QStringList results;
    ArchiveBusy busy;
    QLabel* topText;
    QTreeWidget* tree;
    QPushButton* closeButton;
    QPushButton* addButton;
    QPushButton* addFilesButton;
    QPushButton* archiveButton;
    QPushButton* dataFolderButton;
    QPushButton* extractButton;
    ArchiveJob* job = nullptr;
    std::unique_ptr<ProgressDialog> progress;
    bool filledOnce = false;
};
