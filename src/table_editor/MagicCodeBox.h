#pragma once

#include <QComboBox>

// The drop-down list of item property codes, by description, sorted without
// regard to case; each entry's item data is its row of MagicCodeTable.
//
// A closed combo box changes its entry on the mouse wheel, the arrow keys
// and typed letters, and reports that as if chosen.  Only an entry chosen
// from the open list is reported here as CodeChosen: a wheel turned while
// passing over the bar must never write into the table.
class MagicCodeBox : public QComboBox
{
    Q_OBJECT

public:
    explicit MagicCodeBox(QWidget* parent = nullptr);

    // Shows the entry of that row; -1 clears the selection.
    void ShowRow(int row);

    void showPopup() override;
    void hidePopup() override;

Q_SIGNALS:
    void CodeChosen(int row);

private:
    void Fill();
    void OnActivated(int index);

    bool m_listOpen = false;
};
