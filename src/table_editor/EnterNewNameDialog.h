#pragma once

#include "NameEntryDialog.h"

// Asks for the new name of a row or column heading; the caller fills in
// the current name and a title such as "Enter New Name For Column 3".
class EnterNewNameDialog : public NameEntryDialog
{
    Q_OBJECT

public:
    static constexpr int ResourceId = 146;

    explicit EnterNewNameDialog(QWidget* parent = nullptr);

    // An empty title keeps the caption "Enter New Name".
    void SetTitle(const QString& title);
    void SetName(const QString& name);
};
