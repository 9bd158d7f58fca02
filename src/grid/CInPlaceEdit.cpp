#include "grid/CInPlaceEdit.h"

#include "grid/CGridCtrl.h"
#include "grid/CellTextRule.h"
#include "grid/WindowsKeys.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QToolTip>
#include <QValidator>

#include <algorithm>
#include <functional>

bool CInPlaceEdit::s_bEnding = false;

namespace {

// Removes what a cell cannot hold from anything that enters the box by
// typing, pasting or dropping, and says so.
class CellTextValidator : public QValidator
{
public:
    CellTextValidator(QObject* parent, std::function<void()> onDropped)
        : QValidator(parent)
        , m_onDropped(std::move(onDropped))
    {
    }

    State validate(QString& input, int& pos) const override
    {
        if (CellTextRule::IsAllowed(input))
            return Acceptable;
        int removedBeforeCursor = 0;
        for (int index = 0; index < pos && index < input.size(); ++index)
            if (!CellTextRule::IsAllowed(input.at(index)))
                ++removedBeforeCursor;
        input = CellTextRule::Filter(input);
        pos = qMax(0, pos - removedBeforeCursor);
        m_onDropped();
        return Acceptable;
    }

private:
    std::function<void()> m_onDropped;
};

int NavigationKey(int qtKey)
{
    const int vk = WindowsKeyFromQtKey(qtKey);
    switch (vk) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
        return vk;
    default:
        return 0;
    }
}

} // namespace

CInPlaceEdit::CInPlaceEdit(CGridCtrl* grid, const QRect& rect, Qt::Alignment alignment, int id, int row, int col,
                           const QString& initialText, int firstChar)
    : QLineEdit(grid ? grid->viewport() : nullptr)
    , m_pGrid(grid)
    , m_nId(id)
    , m_nRow(row)
    , m_nColumn(col)
    , m_strInitialText(initialText)
    , m_Rect(rect)
{
    setAlignment(alignment | Qt::AlignVCenter);
    if (grid)
        setFont(*grid->GetDefaultCell(false, false)->GetFontObject());
    setGeometry(m_Rect);
    setText(initialText);
    setValidator(new CellTextValidator(this, [this] { ShowDropped(); }));
    connect(this, &QLineEdit::textEdited, this, &CInPlaceEdit::Grow);
    show();
    setFocus(Qt::OtherFocusReason);
    ApplyFirstCharacter(firstChar);
}

CInPlaceEdit::~CInPlaceEdit() = default;

void CInPlaceEdit::ApplyFirstCharacter(int firstChar)
{
    const bool isKey = (firstChar & EditStartKeyFlag) || firstChar < VK_SPACE;
    if (!isKey) {
        // Typing replaces the whole text with what was typed.
        selectAll();
        InsertTyped(QString(QChar(char16_t(firstChar))));
        return;
    }
    const int key = firstChar & ~EditStartKeyFlag;
    m_bExitOnArrows = key != VK_LBUTTON;
    if (key == VK_LBUTTON || key == VK_RETURN) {
        end(false);
    } else if (key == VK_BACK) {
        end(false);
        backspace();
    } else {
        selectAll();
    }
}

void CInPlaceEdit::ProcessCharacter(int ch)
{
    const int key = ch & ~EditStartKeyFlag;
    if ((ch & EditStartKeyFlag) || ch < VK_SPACE) {
        if (key == VK_BACK)
            backspace();
        return;
    }
    InsertTyped(QString(QChar(char16_t(ch))));
}

void CInPlaceEdit::InsertTyped(const QString& text)
{
    // Refused before it replaces a selection, so that a wrong key costs no text.
    const QString kept = CellTextRule::Filter(text);
    if (kept != text)
        ShowDropped();
    if (kept.isEmpty())
        return;
    insert(kept);
    Grow();
}

void CInPlaceEdit::Grow()
{
    const int wanted = QFontMetrics(font()).horizontalAdvance(text() + QStringLiteral("  "));
    if (wanted <= m_Rect.width())
        return;
    int right = m_Rect.left() + wanted;
    if (m_pGrid)
        right = qMin(right, m_pGrid->ClientRect().right());
    if (right <= m_Rect.right())
        return;
    m_Rect.setRight(right);
    setGeometry(m_Rect);
}

void CInPlaceEdit::ShowDropped()
{
    QToolTip::showText(mapToGlobal(QPoint(0, height())), CellTextRule::DroppedMessage(), this);
}

bool CInPlaceEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = keyEvent->modifiers();
        const bool altLetter = (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier)
                               && !keyEvent->text().isEmpty();
        const int key = keyEvent->key();
        const bool ending = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return
                            || key == Qt::Key_Enter || key == Qt::Key_Escape;
        if (event->type() == QEvent::ShortcutOverride) {
            // These keys are the editor's: no menu or window shortcut takes them.
            if (altLetter || ending) {
                event->accept();
                return true;
            }
        } else if (altLetter) {
            event->accept();
            return true;
        } else if (ending) {
            event->accept();
            if (key == Qt::Key_Escape) {
                setText(m_strInitialText);
                FinishWith(VK_ESCAPE, modifiers);
            } else {
                FinishWith(WindowsKeyFromQtKey(key), modifiers);
            }
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (std::any_of(typed.cbegin(), typed.cend(), [](QChar ch) { return ch.unicode() > 0xFF; })) {
        ShowDropped();
        event->accept();
        return;
    }
    const int vk = NavigationKey(event->key());
    if (vk != 0 && (m_bExitOnArrows || (event->modifiers() & Qt::ControlModifier))) {
        FinishWith(vk, event->modifiers());
        return;
    }
    QLineEdit::keyPressEvent(event);
    // A single-line box ignores Up, Down, Page Up and Page Down; passed on,
    // they would move the grid's focus or scroll it under the open editor.
    if (vk != 0)
        event->accept();
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu of the box takes the focus for a moment only.
    if (event->reason() != Qt::PopupFocusReason)
        EndEdit();
}

void CInPlaceEdit::FinishWith(int key, Qt::KeyboardModifiers modifiers)
{
    m_nLastKey = key;
    m_lastModifiers = modifiers;
    if (m_pGrid)
        m_pGrid->setFocus(Qt::OtherFocusReason);
    EndEdit();
}

void CInPlaceEdit::EndEdit()
{
    if (s_bEnding || m_bEnded)
        return;
    s_bEnding = true;
    m_bEnded = true;
    const QString finalText = text();
    if (m_pGrid)
        m_pGrid->OnEndInPlaceEdit(m_nRow, m_nColumn, finalText, m_nLastKey, m_lastModifiers);
    hide();
    deleteLater();
    s_bEnding = false;
}

void CInPlaceEdit::Abandon()
{
    m_bEnded = true;
    hide();
    deleteLater();
}
