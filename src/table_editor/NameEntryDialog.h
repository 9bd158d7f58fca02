#pragma once

#include <QDialog>

class CellNameEdit;
class QLabel;

// A small dialog with one labelled name field and OK and Cancel; the field
// keeps out what a cell cannot hold, so a heading never splits on the next
// load.  The dialog is made wide enough for its title ("Enter New Name For
// Column 12"), which a narrow window would cut short in its title bar.
class NameEntryDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int NameEditId = 1021;

    QString Name() const;
    CellNameEdit* NameEdit() const { return nameEdit; }
    QLabel* NameLabel() const { return nameLabel; }
    // The width a window needs for the title bar to show that title whole:
    // the title in a bold face, the window's icon and its buttons.
    int TitleBarWidth(const QString& title) const;

protected:
    NameEntryDialog(const QString& labelText, QWidget* parent);
    void changeEvent(QEvent* event) override;

    CellNameEdit* nameEdit;

private:
    void FitTitle();

    QLabel* nameLabel;
    int fieldWidth;
};
