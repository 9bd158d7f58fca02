#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QListWidget;
class QListWidgetItem;

// "Press F2 to rename any files as required": the archive names proposed for
// files chosen from disk, sorted, each editable in place (F2 or a click on
// the selected item).  Each name travels with its file, so the name the user
// gives is the name the file is recorded and kept under.  Names that cannot
// be entries are refused as they are typed, and OK refuses names (or name
// parts) given twice.
class RenameListDialog : public QDialog
{
    Q_OBJECT

public:
    struct Item
    {
        QString name;
        QString source;   // the disk file the name stands for
    };

    RenameListDialog(const QList<Item>& items, QWidget* parent);

    // The names with their files, in the order the list shows them.
    QList<Item> Items() const;
    QListWidget* List() const { return list; }

public Q_SLOTS:
    void accept() override;

private:
    void OnItemChanged(QListWidgetItem* item);
    // Why the names cannot be kept as they are: a name that cannot be an
    // entry (a file chosen with such a name), or names given twice.
    QString Trouble() const;

    QListWidget* list;
};
