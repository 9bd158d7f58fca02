#include "FontNameDelegate.h"

#include "FontNameCombo.h"

#include <QApplication>
#include <QPainter>

void FontNameDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString name = item.text;
    item.text.clear();
    // The style draws the background, the selection and the focus frame.
    const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    const int margin = Margin(option);
    painter->save();
    if (index.data(FontNameCombo::ScalableRole).toBool()) {
        const QRect mark(option.rect.left() + margin, option.rect.top() + (option.rect.height() - MarkHeight) / 2,
                         MarkWidth, MarkHeight);
        PaintScalableMark(*painter, mark);
    }
    const bool selected = option.state & QStyle::State_Selected;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    QRect textRect = option.rect;
    textRect.setLeft(option.rect.left() + 2 * margin + MarkWidth);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      option.fontMetrics.elidedText(name, Qt::ElideRight, textRect.width()));
    painter->restore();
}

QSize FontNameDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int margin = Margin(option);
    const int textWidth = option.fontMetrics.horizontalAdvance(index.data().toString());
    return {3 * margin + MarkWidth + textWidth, qMax(option.fontMetrics.height(), MarkHeight) + margin};
}

void FontNameDelegate::PaintScalableMark(QPainter& painter, const QRect& rect)
{
    // Two overlapping letters T, the back one grey: readable at 20 x 12
    // and in either colour scheme.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont letters = painter.font();
    letters.setBold(true);
    letters.setPixelSize(rect.height());
    painter.setFont(letters);
    const int half = rect.width() / 2;
    painter.setPen(QColor(128, 128, 128));
    painter.drawText(QRect(rect.left(), rect.top() - 1, half + 2, rect.height()), Qt::AlignCenter, QStringLiteral("T"));
    painter.setPen(QColor(0, 90, 170));
    painter.drawText(QRect(rect.left() + half - 3, rect.top() + 1, half + 2, rect.height()), Qt::AlignCenter,
                     QStringLiteral("T"));
    painter.restore();
}

int FontNameDelegate::Margin(const QStyleOptionViewItem& option)
{
    // A quarter of an average character, as dialog units measure it.
    return qMax(2, option.fontMetrics.averageCharWidth() / 4 * 2);
}
