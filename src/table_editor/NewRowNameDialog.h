#pragma once

#include "NameEntryDialog.h"

// Asks for the heading of a row that Add Row appends; the name may be empty.
class NewRowNameDialog : public NameEntryDialog
{
    Q_OBJECT

public:
    static constexpr int ResourceId = 136;

    explicit NewRowNameDialog(QWidget* parent = nullptr);
};
