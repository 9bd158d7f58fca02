#pragma once

#include <QWidget>

class MagicCodeBox;
class QLineEdit;
class QPushButton;
class TableViewPart;

// The one-line bar under the toolbar: Close for the current table, the
// formula field with its Formula button, and the item property code list
// with its Lookup button.  It works on the table view's current table; the
// main window calls UpdateCommandUi on its enabling timer.
class CommandBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int IDC_FORMULA_TEXT = 1002;
    static constexpr int IDC_FORMULA = 1006;
    static constexpr int IDC_MAGIC_CODES = 1045;
    static constexpr int IDC_CLOSE = 1047;
    static constexpr int IDC_LOOKUP = 1048;

    explicit CommandBar(QWidget* parent = nullptr);

    void SetTableView(TableViewPart* view);
    // Enables each control for the current table, its selection and focus cell.
    void UpdateCommandUi();
    // The control with that identifier, or none.
    QWidget* Control(int id) const;

private:
    QPushButton* MakeButton(int id, const QString& iconPath, const QString& text);
    bool HasCurrentTable() const;
    bool HasSelectedCells() const;
    bool IsFocusOnDataCell() const;
    void OnClose();
    void OnFormula();
    void OnCodeChosen(int row);
    void OnLookup();
    void FocusCurrentGrid();

    TableViewPart* m_view = nullptr;
    QPushButton* m_close;
    QLineEdit* m_formulaText;
    QPushButton* m_formula;
    MagicCodeBox* m_codes;
    QPushButton* m_lookup;
};
