#include "grid/CGridCellBase.h"

#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/DrawTextFlags.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

namespace {

// Frames the pixels left..right, top..bottom (inclusive) with the current pen.
void FramePixels(QPainter* painter, const QRect& rect)
{
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
}

void DrawLine(QPainter* painter, const QColor& colour, QPoint from, QPoint to)
{
    painter->setPen(colour);
    painter->drawLine(from, to);
}

// Fixed cells: pressed in when they head the focus row or column, raised
// otherwise.  The two looks swap the light and dark edges.
void DrawFixedBorder(QPainter* painter, const QRect& rect, bool sunken)
{
    const QColor light = ColorRefToQColor(GetSysColor(COLOR_3DHIGHLIGHT));
    const QColor dark = ColorRefToQColor(GetSysColor(COLOR_3DDKSHADOW));
    const QColor& topLeft = sunken ? dark : light;
    const QColor& bottomRight = sunken ? light : dark;
    DrawLine(painter, topLeft, rect.bottomLeft(), rect.topLeft());
    DrawLine(painter, topLeft, rect.topLeft(), rect.topRight());
    DrawLine(painter, bottomRight, rect.topRight(), rect.bottomRight());
    DrawLine(painter, bottomRight, rect.bottomRight(), rect.bottomLeft());
}

void DrawSortArrow(QPainter* painter, QRect box, bool ascending)
{
    QPolygon triangle;
    if (ascending)
        triangle << QPoint(box.center().x(), box.top()) << box.bottomRight() << box.bottomLeft();
    else
        triangle << box.topLeft() << box.topRight() << QPoint(box.center().x(), box.bottom());
    painter->setBrush(Qt::NoBrush);
    painter->setPen(ColorRefToQColor(GetSysColor(COLOR_3DSHADOW)));
    painter->drawPolygon(triangle.translated(1, 1));
    painter->setPen(ColorRefToQColor(GetSysColor(COLOR_3DHIGHLIGHT)));
    painter->drawPolygon(triangle);
}

// Single-line text is placed by hand: far cheaper than a laid-out drawText,
// and painting a screen of a large table is thousands of cells.  glyphs is
// null when the text takes Qt's own text path.
void DrawSingleLine(QPainter* painter, const QFontMetrics& metrics, const Latin1Glyphs* glyphs, const QRect& rect,
                    quint32 format, const QString& text)
{
    int width = glyphs ? glyphs->Width(text) : metrics.horizontalAdvance(text);
    QString shown;
    const QString* drawn = &text;
    if (width > rect.width() && (format & DT_END_ELLIPSIS)) {
        shown = glyphs ? glyphs->Elided(text, rect.width()) : metrics.elidedText(text, Qt::ElideRight, rect.width());
        drawn = &shown;
        width = glyphs ? glyphs->Width(shown) : metrics.horizontalAdvance(shown);
    }
    int x = rect.left();
    if (format & DT_CENTER)
        x += (rect.width() - width) / 2;
    else if (format & DT_RIGHT)
        x = rect.right() + 1 - width;
    int y = rect.top() + metrics.ascent();
    if (format & DT_VCENTER)
        y = rect.top() + (rect.height() - metrics.height()) / 2 + metrics.ascent();
    else if (format & DT_BOTTOM)
        y = rect.bottom() + 1 - metrics.descent();

    const bool overflows = width > rect.width() || metrics.height() > rect.height();
    if (overflows) {
        painter->save();
        painter->setClipRect(rect, Qt::IntersectClip);
    }
    if (glyphs)
        glyphs->Draw(*painter, QPointF(x, y), *drawn);
    else
        painter->drawText(QPoint(x, y), *drawn);
    if (overflows)
        painter->restore();
}

void SetPenColour(QPainter* painter, const QColor& colour)
{
    if (painter->pen().color() != colour || painter->pen().style() != Qt::SolidLine)
        painter->setPen(colour);
}

} // namespace

CGridDefaultCell* CGridCellBase::GetDefaultCell() const
{
    CGridCtrl* grid = GetGrid();
    if (!grid)
        return nullptr;
    const quint32 state = GetState();
    return grid->GetDefaultCell(state & CellStateFixedRow, state & CellStateFixedColumn);
}

void CGridCellBase::CopyFrom(const CGridCellBase& source)
{
    SetGrid(source.GetGrid());
    SetText(source.GetText());
    SetImage(source.GetImage());
    SetData(source.GetData());
    SetState(source.GetState());
    SetFormat(source.GetFormat());
    SetTextClr(source.GetTextClr());
    SetBackClr(source.GetBackClr());
    SetFont(source.IsDefaultFont() ? nullptr : source.GetFont());
    SetMargin(source.GetMargin());
}

bool CGridCellBase::GetTextRect(QRect&)
{
    // This program never gives a grid an image list, so no image narrows the
    // text.
    return true;
}

QSize CGridCellBase::GetTextExtent(const QString& text) const
{
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    const QFont* font = GetFontObject();
    if (!font) {
        if (!defaultCell)
            return QSize(0, 0);
        return QSize(defaultCell->GetWidth(), defaultCell->GetHeight());
    }
    const quint32 format = GetFormat();
    const bool useCached = defaultCell && font == defaultCell->GetFontObject();
    const QFontMetrics metrics = useCached ? defaultCell->GetFontMetrics() : QFontMetrics(*font);

    QSize size;
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
        int widest = 0;
        for (const QString& line : text.split(u'\n'))
            widest = qMax(widest, metrics.horizontalAdvance(line));
        const QRect laid = metrics.boundingRect(QRect(0, 0, widest + 1, 0x7FFFFF), Qt::TextWordWrap, text);
        size = laid.size();
    } else {
        // Measured as painting will draw it.
        const int width = useCached ? defaultCell->SingleLineWidth(text) : metrics.horizontalAdvance(text);
        size = QSize(width, metrics.height());
    }

    const int margin = int(GetMargin());
    size += QSize(4 * margin, 2 * margin);
    const LogFont* logFont = GetFont();
    if (logFont && logFont->IsVertical())
        size = QSize(size.height(), size.width() + 4 * margin);
    return size;
}

QSize CGridCellBase::GetCellExtent() const
{
    return GetTextExtent(GetText());
}

QRect CGridCellBase::TextArea(const QRect& cellRect) const
{
    // The cell's last pixel column and row belong to the grid lines.
    QRect area = cellRect.adjusted(0, 0, -1, -1);
    const CGridCtrl* grid = GetGrid();
    if (!grid)
        return area;
    const quint32 state = GetState();
    if (state & (CellStateFocused | CellStateHighlighted))
        area.adjust(1, 1, -1, -1);
    if ((state & CellStateFixed) && grid->GetGridLines() != GVL_NONE)
        area.adjust(1, 1, -1, -1);
    return area;
}

bool CGridCellBase::GetTipTextRect(QRect& rect)
{
    rect = TextArea(rect);
    return GetTextRect(rect);
}

bool CGridCellBase::Draw(QPainter* painter, int row, int col, QRect rect, bool eraseBkgnd)
{
    CGridCtrl* grid = GetGrid();
    if (!grid || !painter || rect.width() <= 0 || rect.height() <= 0)
        return false;
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    if (!defaultCell)
        return false;

    COLORREF textColour = GetTextClr() == CLR_DEFAULT ? defaultCell->GetTextClr() : GetTextClr();
    COLORREF backColour = defaultCell->GetBackClr();
    bool fill = eraseBkgnd;
    if (GetBackClr() != CLR_DEFAULT) {
        backColour = GetBackClr();
        fill = true;
    }

    // rect covers every pixel of the cell, its grid line pixels included;
    // area is what lies inside the grid lines.
    QRect area = rect.adjusted(0, 0, -1, -1);
    const quint32 state = GetState();
    if (!(state & (CellStateFocused | CellStateHighlighted))) {
        if (state & CellStateSelected) {
            painter->fillRect(rect, ColorRefToQColor(GetSysColor(COLOR_HIGHLIGHT)));
            textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
        } else if (fill) {
            painter->fillRect(rect, ColorRefToQColor(backColour));
        }
    } else {
        if (state & CellStateSelected) {
            backColour = GetSysColor(COLOR_HIGHLIGHT);
            textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
            fill = true;
        }
        if (fill)
            painter->fillRect(rect, ColorRefToQColor(backColour));
        if (grid->GetFrameFocusCell()) {
            painter->setBrush(Qt::NoBrush);
            painter->setPen(ColorRefToQColor(textColour));
            FramePixels(painter, grid->GetGridLines() == GVL_NONE ? rect : area);
        }
        area.adjust(1, 1, -1, -1);
    }

    if ((state & CellStateFixed) && grid->GetGridLines() != GVL_NONE) {
        const GridCellId focus = grid->GetFocusCell();
        const bool sunken = grid->GetTrackFocusCell() && grid->IsValid(focus)
                            && (focus.row == row || focus.col == col);
        DrawFixedBorder(painter, rect, sunken);
        area.adjust(1, 1, -1, -1);
    }

    const QFont* font = GetFontObject();
    const int margin = int(GetMargin());
    area.adjust(margin, 0, -margin, 0);

    const bool useCached = font && font == defaultCell->GetFontObject();
    const QFontMetrics metrics = useCached ? defaultCell->GetFontMetrics() : QFontMetrics(font ? *font : painter->font());
    const LogFont* logFont = GetFont();
    const bool vertical = logFont && logFont->IsVertical();
    if (row == 0 && col == grid->GetSortColumn()) {
        const int size = qMin(metrics.height() - 4, area.height() - 4);
        if (size > 0 && area.left() + size < area.right() + 2 * margin) {
            int left = area.right() - size;
            if (logFont && logFont->lfEscapement == 900)
                left = area.left() + (area.right() - size - area.left()) / 2;
            const QRect box(left, area.bottom() - 2 - size, size, size);
            DrawSortArrow(painter, box, grid->GetSortAscending());
            if (!vertical)
                area.setRight(area.right() - size);
        }
    }

    const QString text = GetText();
    if (!text.isEmpty() && area.width() > 0 && area.height() > 0) {
        SetPenColour(painter, ColorRefToQColor(textColour));
        const quint32 format = GetFormat() | DT_NOPREFIX;
        const bool singleLine = !(format & DT_WORDBREAK) || (format & DT_SINGLELINE);
        const Latin1Glyphs* glyphs = useCached && singleLine && defaultCell->GetGlyphs().Handles(text)
                                         ? &defaultCell->GetGlyphs()
                                         : nullptr;
        if (!glyphs && font && painter->font() != *font)
            painter->setFont(*font);
        if (singleLine)
            DrawSingleLine(painter, metrics, glyphs, area, format, text);
        else
            painter->drawText(area, DrawTextFlagsToQt(format), text);
    }
    return true;
}
