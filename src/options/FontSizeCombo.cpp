#include "FontSizeCombo.h"

#include <QLineEdit>
#include <QRegularExpression>

FontSizeCombo::FontSizeCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
}

void FontSizeCombo::AddSize(int points)
{
    int position = 0;
    while (position < count() && itemData(position).toInt() < points)
        ++position;
    if (position < count() && itemData(position).toInt() == points)
        return;
    insertItem(position, QString::number(points), points);
}

int FontSizeCombo::FindExact(const QString& text) const
{
    return findText(text.trimmed(), Qt::MatchExactly);
}

int FontSizeCombo::TypedPoints() const
{
    // Nine digits at most: a longer number is no size and must not overflow.
    static const QRegularExpression leadingNumber(QStringLiteral("^\\s*(\\d{1,9})"));
    const QRegularExpressionMatch match = leadingNumber.match(currentText());
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}
