#include "FontNameCombo.h"

#include "FontNameDelegate.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QFontInfo>
#include <QScrollBar>

#include <algorithm>

FontNameCombo::FontNameCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setItemDelegate(new FontNameDelegate(this));
    setMaxVisibleItems(12);
}

void FontNameCombo::Fill()
{
    QStringList families;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            families.append(family);
    }
    std::sort(families.begin(), families.end(), [](const QString& left, const QString& right) {
        const int order = left.compare(right, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : left < right;
    });
    clear();
    for (const QString& family : families) {
        addItem(family);
        const bool scalable = QFontDatabase::isSmoothlyScalable(family) || QFontDatabase::isScalable(family);
        setItemData(count() - 1, scalable, ScalableRole);
    }
    // The open list is as wide as its longest name, however narrow the field.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + view()->verticalScrollBar()->sizeHint().width());
}

bool FontNameCombo::IsScalable(int index) const
{
    return itemData(index, ScalableRole).toBool();
}

int FontNameCombo::FindExact(const QString& name) const
{
    return findText(name, Qt::MatchFixedString);
}

int FontNameCombo::FindFace(const QString& name) const
{
    const int exact = FindExact(name);
    if (exact >= 0 || name.isEmpty())
        return exact;
    return FindExact(QFontInfo(QFont(name)).family());
}
