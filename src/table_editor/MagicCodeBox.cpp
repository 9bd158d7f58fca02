#include "MagicCodeBox.h"

#include "model/MagicCodeTable.h"

#include <QAbstractItemView>
#include <QTimer>

#include <algorithm>
#include <vector>

MagicCodeBox::MagicCodeBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Fill();
    connect(this, &QComboBox::activated, this, &MagicCodeBox::OnActivated);
}

void MagicCodeBox::Fill()
{
    std::vector<int> rows(MagicCodeTable::Count);
    for (int row = 0; row < MagicCodeTable::Count; ++row)
        rows[std::size_t(row)] = row;
    std::sort(rows.begin(), rows.end(), [](int a, int b) {
        return MagicCodeTable::Description(a).compare(MagicCodeTable::Description(b), Qt::CaseInsensitive) < 0;
    });
    for (int row : rows)
        addItem(MagicCodeTable::Description(row), row);
}

void MagicCodeBox::ShowRow(int row)
{
    setCurrentIndex(findData(row));
}

void MagicCodeBox::showPopup()
{
    m_listOpen = true;
    QComboBox::showPopup();
}

void MagicCodeBox::hidePopup()
{
    QComboBox::hidePopup();
    // The list closes just before it reports the entry chosen from it, in
    // the same event; forget the open list once that event is over, so that
    // a list closed with Escape leaves no choice behind for the wheel.
    QTimer::singleShot(0, this, [this] { m_listOpen = view()->isVisible(); });
}

void MagicCodeBox::OnActivated(int index)
{
    if (!m_listOpen || index < 0)
        return;
    m_listOpen = false;
    Q_EMIT CodeChosen(itemData(index).toInt());
}
