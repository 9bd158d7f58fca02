#include "CellNameEdit.h"

#include "grid/CellTextRule.h"

#include <QToolTip>

CellNameEdit::CellNameEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &CellNameEdit::DropRefusedCharacters);
}

void CellNameEdit::DropRefusedCharacters(const QString& text)
{
    if (CellTextRule::IsAllowed(text))
        return;
    const int cursor = cursorPosition();
    const QString kept = CellTextRule::Filter(text);
    setText(kept);
    setCursorPosition(qMin(cursor, int(kept.size())));
    QToolTip::showText(mapToGlobal(QPoint(0, height())), CellTextRule::DroppedMessage(), this);
}
