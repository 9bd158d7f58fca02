#pragma once

#include <QLineEdit>

// A line edit for a heading or row name: it drops what a table cell cannot
// hold (TAB, CR, LF, NUL, characters above U+00FF) as it is typed or
// pasted and says so, so that a heading never splits into two columns on
// the next load.
class CellNameEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CellNameEdit(QWidget* parent = nullptr);

private:
    void DropRefusedCharacters(const QString& text);
};
