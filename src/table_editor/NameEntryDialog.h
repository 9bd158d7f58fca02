#pragma once

#include <QDialog>

class CellNameEdit;

// A small dialog with one name field and OK and Cancel; the field keeps out
// what a cell cannot hold, so a heading never splits on the next load.
class NameEntryDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int NameEditId = 1021;

    QString Name() const;
    CellNameEdit* NameEdit() const { return nameEdit; }

protected:
    explicit NameEntryDialog(QWidget* parent);

    CellNameEdit* nameEdit;
};
