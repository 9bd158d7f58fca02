#pragma once

#include "grid/ColorRef.h"
#include "grid/LogFont.h"

#include <QFont>
#include <QWidget>

class CGridCtrl;

// Shows the whole text of a cell whose text is cut off, laid exactly over the
// cell's text.  The tip is a tooltip window that input passes through, so
// clicks and keys reach the grid underneath; the grid hides it when the
// pointer leaves the hover rectangle, and it hides itself on any key, click
// or wheel turn that the grid receives.
class CTitleTip : public QWidget
{
    Q_OBJECT

public:
    explicit CTitleTip(CGridCtrl* grid);

    // textRect: where the cell paints its text; hoverRect: where the pointer
    // may move without hiding the tip (the text rectangle when empty); both
    // in the grid's client coordinates.  font null: the grid's font.  The
    // tip shows only text that the text rectangle cuts off, unless always.
    void Show(const QRect& textRect, const QString& text, int xOffset, const QRect& hoverRect,
              const LogFont* font, COLORREF textColour, COLORREF backColour, bool always = false);
    void Hide();

    QRect HoverRect() const { return m_rectHover; }
    QString Text() const { return m_strText; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CGridCtrl* m_pGrid;
    QRect m_rectHover;
    QString m_strText;
    QFont m_font;
    QColor m_textColour;
    QColor m_backColour;
};
