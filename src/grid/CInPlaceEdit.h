#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QRect>

class CGridCtrl;

// An edit started by one of these keys is marked with this flag, so that a
// typed "(" (40) never reads as the Down key (40).  Values below 32 are keys
// as they are (1 = a click or F2, 8 Backspace, 9 Tab, 13 Enter); any other
// unmarked value is a typed character.
inline constexpr int EditStartKeyFlag = 0x10000;
constexpr int EditStartByKey(int vk)
{
    return vk | EditStartKeyFlag;
}

// The text box a cell opens over itself to edit its text.  It covers the cell,
// preselects its text by how the edit started, grows to the right while the
// user types, and reports once to the grid when the edit ends, with the key
// that ended it; then it frees itself.  What it holds always obeys the
// cell-text rule: typed or pasted characters a cell cannot hold are left out,
// with a short message.
class CInPlaceEdit : public QLineEdit
{
    Q_OBJECT

public:
    CInPlaceEdit(CGridCtrl* grid, const QRect& rect, Qt::Alignment alignment, int id, int row, int col,
                 const QString& initialText, int firstChar);
    ~CInPlaceEdit() override;

    // Ends the edit: reports the text to the grid once, then closes.
    void EndEdit();
    // The cell is going away: close without a report.
    void Abandon();
    // A further character or key for an edit already open.
    void ProcessCharacter(int ch);

    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }
    int GetControlId() const { return m_nId; }
    int GetLastKey() const { return m_nLastKey; }
    bool GetExitOnArrows() const { return m_bExitOnArrows; }
    QRect GetRect() const { return m_Rect; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ApplyFirstCharacter(int firstChar);
    void InsertTyped(const QString& text);
    void FinishWith(int key, Qt::KeyboardModifiers modifiers);
    void Grow();
    void ShowDropped();

    QPointer<CGridCtrl> m_pGrid;
    int m_nId;
    int m_nRow;
    int m_nColumn;
    QString m_strInitialText;
    int m_nLastKey = 0;
    Qt::KeyboardModifiers m_lastModifiers;
    bool m_bExitOnArrows = true;
    bool m_bEnded = false;
    QRect m_Rect;

    // Set while any editor reports its end, so that the focus changes the
    // report causes do not end an edit a second time.
    static bool s_bEnding;
};
