#include "grid/GridSizingBar.h"

#include <QPainter>

#include <algorithm>

GridSizingBar::GridSizingBar(QWidget* grid)
    : QWidget(grid)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void GridSizingBar::ShowAtColumnBorder(int x)
{
    const QWidget* grid = parentWidget();
    const int left = std::clamp(x, 0, std::max(grid->width() - Thickness, 0));
    Place(QRect(left, 0, Thickness, grid->height()));
}

void GridSizingBar::ShowAtRowBorder(int y)
{
    const QWidget* grid = parentWidget();
    const int top = std::clamp(y, 0, std::max(grid->height() - Thickness, 0));
    Place(QRect(0, top, grid->width(), Thickness));
}

void GridSizingBar::Place(const QRect& area)
{
    setGeometry(area);
    raise();
    show();
}

void GridSizingBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}
