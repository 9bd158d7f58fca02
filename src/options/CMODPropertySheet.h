#pragma once

#include "OptionsSheetSeam.h"

#include <QDialog>

class CFontPropertyPage;
class CMODPropertyPage;
class QDialogButtonBox;
class QTabWidget;

// "Carvestone Options": the paths page and the font page as tabs, closed
// with OK or Cancel.  OK is refused, with a message and the sheet left
// open, while a page holds a value that cannot work.
class CMODPropertySheet : public QDialog
{
    Q_OBJECT

public:
    explicit CMODPropertySheet(QWidget* parent = nullptr);

    void SetValues(const OptionsValues& values);
    // The pages' values; valid after the sheet closed with OK.
    OptionsValues Values() const;

    QTabWidget* Tabs() const { return tabs; }
    QDialogButtonBox* Buttons() const { return buttons; }
    CMODPropertyPage* PathsPage() const { return pathsPage; }
    CFontPropertyPage* FontPage() const { return fontPage; }

    void accept() override;

private:
    void OnPageChanging(int index);

    QTabWidget* tabs;
    QDialogButtonBox* buttons;
    CMODPropertyPage* pathsPage;
    CFontPropertyPage* fontPage;
    int activePage = 0;
};
