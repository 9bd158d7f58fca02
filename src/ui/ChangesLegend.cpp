#include "ChangesLegend.h"

#include "ChangeColours.h"

#include <QPainter>

#include <utility>
#include <vector>

namespace {
constexpr int Margin = 6;
constexpr int Gap = 14;
} // namespace

ChangesLegend::ChangesLegend(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    SetCount(0);
}

void ChangesLegend::SetCount(int changes, const QString& against)
{
    countText = changes == 1 ? tr("1 change against %1").arg(against) : tr("%1 changes against %2").arg(changes).arg(against);
    update();
}

void ChangesLegend::ShowConflicts(bool shown)
{
    conflicts = shown;
    update();
}

QSize ChangesLegend::sizeHint() const
{
    return QSize(fontMetrics().horizontalAdvance(countText) * 3, fontMetrics().height() + 2 * Margin - 2);
}

void ChangesLegend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const ChangeColours colours = ChangeColours::For(palette());
    std::vector<std::pair<QColor, QString>> keys = {
        {colours.changedCell, tr("Changed cell")}, {colours.addedRow, tr("Added row")},
        {colours.addedColumn, tr("Added column")}};
    if (conflicts)
        keys.emplace_back(colours.conflict, tr("Conflict"));
    const QFontMetrics metrics = fontMetrics();
    const int swatch = metrics.height() - 4;
    const int top = (height() - swatch) / 2;
    int x = Margin;
    painter.setPen(palette().color(QPalette::WindowText));
    for (const auto& [colour, word] : keys) {
        painter.fillRect(QRect(x, top, swatch, swatch), colour);
        painter.drawRect(QRect(x, top, swatch - 1, swatch - 1));
        x += swatch + 4;
        painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignVCenter | Qt::AlignLeft, word);
        x += metrics.horizontalAdvance(word) + Gap;
    }
    painter.drawText(rect().adjusted(x, 0, -Margin, 0), Qt::AlignVCenter | Qt::AlignRight, countText);
}
