#pragma once

#include <QDialog>

class CellNameEdit;

// Asks for the heading of a row that Add Row appends; the name may be empty.
class NewRowNameDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int ResourceId = 136;
    static constexpr int NameEditId = 1021;

    explicit NewRowNameDialog(QWidget* parent = nullptr);

    QString Name() const;
    CellNameEdit* NameEdit() const { return nameEdit; }

private:
    CellNameEdit* nameEdit;
};
