#pragma once

#include "ui/CommandTarget.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>

#include <functional>

class CCarvestoneDoc;
class TableViewPart;

// The project tree, the main window's left pane: the project's title as the
// root, the MOD entries under their folders, each file with the picture of
// its kind and, beside it, how many changes against the game it holds.  It is the one place where entries are added and removed, and
// it opens tables in the table view.  Its keys (Ins, Del, Enter) become
// commands only while it has the focus; it hands them to the window that
// holds it (CommandPosted), whose route runs only an enabled one.
class CLeftView : public QTreeWidget, public CommandTarget
{
    Q_OBJECT

public:
    // Runs the Add File dialog for the project folder and answers the
    // archive names of the files it placed there.
    using AddFilesRunner = std::function<QStringList(const QString& projectFolder)>;

    explicit CLeftView(QWidget* parent = nullptr);

    void SetDocument(CCarvestoneDoc* document);
    // The table view that Open File opens tables in; none disables it.
    void SetTableView(TableViewPart* view) { tableView = view; }
    // Add Files stays disabled until the dialog that chooses the files is
    // given here.
    void SetAddFilesRunner(AddFilesRunner runner) { addFilesRunner = std::move(runner); }

    // Rebuilds the tree from the project: every project change comes here.
    void OnInitialUpdate();
    // How many changes against the game each entry's file holds, shown
    // beside it; an entry without a count shows none.
    void SetChangeCounts(const QHash<QString, int>& counts);
    // The second half of Add Files: offers each name to the project and
    // shows the ones it did not hold yet.
    void AddNamesToProject(const QStringList& names);

    void OnAddFiles();
    void OnRemoveFile();
    void OnOpenFile();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandState& state) override;

Q_SIGNALS:
    // A key or a double click asks for a command; it runs only if enabled.
    void CommandPosted(int id);
    // A table was opened: the table view is to take the keyboard.
    void TableOpened();
    // The right-click menu is wanted at that screen position.
    void ProjectMenuRequested(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool CanAddFiles() const;
    bool CanOpenFile() const;
    QString SelectedEntry() const;
    QTreeWidgetItem* Root() const { return topLevelItem(0); }
    // False when the person kept the table open (Cancel), so nothing is removed.
    bool CloseOpenTable(const QString& namePart);
    // Deletes the entry's disk file unless another entry still names it;
    // false (after saying why) when the file stays and so must the entry.
    bool DeleteDiskFile(const QString& entry);
    bool AnotherEntryNames(const QString& entry) const;
    void ShowChangeCounts();

    TableViewPart* tableView = nullptr;
    QPointer<CCarvestoneDoc> document;
    AddFilesRunner addFilesRunner;
    QHash<QString, int> changeCounts;
};
