#pragma once

#include <QStyledItemDelegate>

// Draws an entry of the face list: the mark of a scalable face at the left,
// then the face's name, so that the names line up whether marked or not.
class FontNameDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int MarkWidth = 20;
    static constexpr int MarkHeight = 12;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The mark itself, drawn into a MarkWidth x MarkHeight rectangle.
    static void PaintScalableMark(QPainter& painter, const QRect& rect);

private:
    static int Margin(const QStyleOptionViewItem& option);
};
