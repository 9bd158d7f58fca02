#pragma once

#include <QDockWidget>

class ModChanges;
class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class TableViewPart;

// "Changes": every change of the MOD against the game, one line a change
// (file, kind, row, column, game value, MOD value), for all files or the
// one chosen above the list.  A double click goes to the change's cell in
// the table view.
class ChangesDock : public QDockWidget
{
    Q_OBJECT

public:
    ChangesDock(ModChanges& changes, QWidget* parent = nullptr);

    void SetTableView(TableViewPart* view) { tableView = view; }

    QComboBox* Filter() const { return filter; }
    QTreeWidget* List() const { return list; }
    QLabel* Summary() const { return summary; }

private:
    void Fill();
    void FillFilter();
    void OnActivated(QTreeWidgetItem* item);

    ModChanges& changes;
    TableViewPart* tableView = nullptr;
    QComboBox* filter;
    QTreeWidget* list;
    QLabel* summary;
};
