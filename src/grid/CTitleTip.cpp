#include "grid/CTitleTip.h"

#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

CTitleTip::CTitleTip(CGridCtrl* grid)
    : QWidget(grid, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
                        | Qt::WindowDoesNotAcceptFocus)
    , m_pGrid(grid)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
}

void CTitleTip::Show(const QRect& textRect, const QString& text, int xOffset, const QRect& hoverRect,
                     const LogFont* font, COLORREF textColour, COLORREF backColour, bool always)
{
    if (textRect.isEmpty() || isVisible())
        return;
    m_rectHover = hoverRect.isEmpty() ? textRect : hoverRect;
    // Only the active program shows tips.
    if (!QApplication::activeWindow())
        return;

    m_font = font ? font->ToQFont() : *m_pGrid->GetDefaultCell(false, false)->GetFontObject();
    m_strText = QLatin1Char(' ') + text + QLatin1Char(' ');
    const int textWidth = QFontMetrics(m_font).horizontalAdvance(m_strText);
    const int left = textRect.left() + xOffset;
    const int right = left + textWidth + xOffset;
    if (!always && right <= textRect.right() + 1 - xOffset)
        return;

    m_textColour = ColorRefToQColor(textColour == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : textColour);
    m_backColour = ColorRefToQColor(backColour == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : backColour);
    // A one-pixel border surrounds the text, so the tip starts a pixel
    // before the cell's text area and its text lands where the cell's is.
    const QRect shown(left - 1, textRect.top() - 1, right - left + 2, textRect.height() + 2);
    setGeometry(QRect(m_pGrid->viewport()->mapToGlobal(shown.topLeft()), shown.size()));
    // A tooltip window stays above the others by its kind.
    show();
    update();
}

void CTitleTip::Hide()
{
    if (isVisible())
        hide();
}

void CTitleTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backColour);
    painter.setPen(m_textColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(m_font);
    // Placed as a single-line, vertically centred cell places its text.
    const QFontMetrics metrics(m_font);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int baseline = inner.top() + (inner.height() - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(QPoint(inner.left(), baseline), m_strText);
}

bool CTitleTip::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::FocusOut:
    case QEvent::Hide:
        Hide();
        break;
    default:
        break;
    }
    return false;
}
