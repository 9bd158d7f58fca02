#pragma once

#include <QWidget>

// The thin bar that follows the pointer while a column or row border is
// dragged.  It spans the grid's client area across the drag direction and
// never leaves the grid; it takes no input, so the grid keeps every event.
class GridSizingBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Thickness = 2;

    explicit GridSizingBar(QWidget* grid);

    // Shows the bar across the grid at the given x (vertical bar, for a
    // column border) or y (horizontal bar, for a row border).
    void ShowAtColumnBorder(int x);
    void ShowAtRowBorder(int y);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Place(const QRect& area);
};
