#pragma once

#include "model/ProjectModel.h"
#include "ui/CommandTarget.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class TableViewPart;

// The open MOD project of the running program: the project model plus the
// questions and reports around opening and saving it.  One object lives for
// the whole run; opening or creating a project replaces its content.
class CCarvestoneDoc : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    // The file types of the Open and Save As dialogs.
    static const QString FileFilter;

    explicit CCarvestoneDoc(QObject* parent = nullptr);

    const ProjectModel& Model() const { return model; }
    const QStringList& FileList() const { return model.FileList(); }
    const QString& ProjectFolder() const { return model.ProjectFolder(); }
    const QString& GetPathName() const { return model.Path(); }
    QString GetTitle() const { return model.Title(); }
    BuildTarget Target() const { return model.Target(); }
    // Records another target beside the project file at once, as the
    // options sheet's other settings are stored at once; false (after
    // saying why) when it could not be recorded: the target stays.
    bool SetTarget(BuildTarget target);

    bool AddFile(const QString& entry);
    bool RemoveFile(const QString& entry);
    void SetModifiedFlag(bool modified);
    // The project's own changes or those of any open table.
    bool IsModified() const;

    // The table view whose tables belong to the project; none until the
    // window has one.
    void SetTableView(TableViewPart* view) { tableView = view; }
    // The window that owns the document's dialogs.
    void SetDialogOwner(QWidget* window) { dialogOwner = window; }

    bool OnNewDocument();
    enum class OpenResult {
        Opened,
        Kept,   // the person cancelled the save question, or saving failed
        Failed, // the file could not be read as a project; reported
    };
    // Asks about unsaved changes first; unless opened, the current project
    // stays.
    OpenResult OpenProject(const QString& path);
    // Brings back a project from a recovery record: the project file at
    // path (none for an untitled project), with entries, when given, as
    // its unsaved entry list.  A project file that cannot be read is
    // reported; with entries the project still comes back under its path,
    // to be saved there again.  False when nothing came back.
    bool RecoverProject(const QString& path, const QStringList* entries);
    // Writes the project file when it has changes, then the modified tables;
    // true only when everything that needed writing was written.
    bool OnSaveDocument(const QString& path);
    // The Save command: asks for a name when the project has no usable path.
    bool DoFileSave();
    // "Save changes to %1?": false when the person cancels or saving fails.
    bool SaveModified();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;

Q_SIGNALS:
    // Another project (or an empty one) took the place of the previous one.
    void ProjectReplaced();
    void TitleChanged(const QString& title);
    // An entry was added to the project or removed from it.
    void EntriesChanged();
    // The project was saved under a new path.
    void PathChanged(const QString& path);
    // The entry list, the path or the modified state may have changed.
    void Changed();

private:
    bool SaveTo(const QString& path, bool writeProjectFile);
    bool NeedsNewName() const;
    void ReportEntriesWithoutDiskFile() const;
    void ReportTargetProblem() const;

    ProjectModel model;
    TableViewPart* tableView = nullptr;
    QPointer<QWidget> dialogOwner;
};
