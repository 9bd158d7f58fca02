#pragma once

#include "grid/ColorRef.h"
#include "grid/LogFont.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class CGridCtrl;
class CGridDefaultCell;
class CInPlaceEdit;
class QFont;
class QPainter;

// Cell state bits.
inline constexpr quint32 CellStateFocused = 0x01;
inline constexpr quint32 CellStateSelected = 0x02;
inline constexpr quint32 CellStateHighlighted = 0x04;
inline constexpr quint32 CellStateReadOnly = 0x08;
inline constexpr quint32 CellStateFixed = 0x10;
inline constexpr quint32 CellStateFixedRow = 0x20;
inline constexpr quint32 CellStateFixedColumn = 0x40;
inline constexpr quint32 CellStateModified = 0x80;

// A format or margin of this value means "take the default cell's".
inline constexpr quint32 UseDefaultFormat = 0xFFFFFFFFu;
inline constexpr quint32 UseDefaultMargin = 0xFFFFFFFFu;

// The abstract cell: a state word and the whole set of cell operations with
// neutral answers.  Rectangles are inclusive (QRect's right() and bottom()
// are the last pixel), as the grid's geometry is.
class CGridCellBase
{
public:
    CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = delete;
    CGridCellBase& operator=(const CGridCellBase&) = delete;
    virtual ~CGridCellBase() = default;

    virtual void SetText(const QString&) {}
    virtual void SetImage(int) {}
    virtual void SetData(qint32) {}
    virtual void SetState(quint32 state) { m_nState = state; }
    virtual void SetFormat(quint32) {}
    virtual void SetTextClr(COLORREF) {}
    virtual void SetBackClr(COLORREF) {}
    virtual void SetFont(const LogFont*) {}
    virtual void SetMargin(quint32) {}
    virtual void SetGrid(CGridCtrl*) {}
    virtual void SetCoords(int, int) {}

    virtual QString GetText() const { return QString(); }
    virtual QString GetTipText() const { return GetText(); }
    virtual int GetImage() const { return -1; }
    virtual qint32 GetData() const { return 0; }
    virtual quint32 GetState() const { return m_nState; }
    virtual quint32 GetFormat() const { return 0; }
    virtual COLORREF GetTextClr() const { return 0; }
    virtual COLORREF GetBackClr() const { return 0; }
    virtual const LogFont* GetFont() const { return nullptr; }
    virtual const QFont* GetFontObject() const { return nullptr; }
    virtual CGridCtrl* GetGrid() const { return nullptr; }
    virtual CInPlaceEdit* GetEditWnd() const { return nullptr; }
    virtual quint32 GetMargin() const { return 0; }
    virtual CGridDefaultCell* GetDefaultCell() const;
    virtual bool IsDefaultFont() const { return false; }
    virtual bool IsEditing() const { return false; }

    bool IsFocused() const { return GetState() & CellStateFocused; }
    bool IsFixed() const { return GetState() & CellStateFixed; }
    bool IsFixedCol() const { return GetState() & CellStateFixedColumn; }
    bool IsFixedRow() const { return GetState() & CellStateFixedRow; }
    bool IsSelected() const { return GetState() & CellStateSelected; }
    bool IsReadOnly() const { return GetState() & CellStateReadOnly; }
    bool IsModified() const { return GetState() & CellStateModified; }
    bool IsHighlighted() const { return GetState() & CellStateHighlighted; }

    // Copies every attribute through the getters of source, so resolved
    // defaults (format, margin) arrive as values.
    virtual void CopyFrom(const CGridCellBase& source);
    virtual void Reset() { m_nState = 0; }

    virtual bool Draw(QPainter* painter, int row, int col, QRect rect, bool eraseBkgnd = true);
    virtual bool GetTextRect(QRect& rect);
    // Narrows a cell rectangle to where painting puts the text (inside the
    // grid lines, the focus frame and a fixed cell's border).
    virtual bool GetTipTextRect(QRect& rect);
    QRect TextArea(const QRect& cellRect) const;
    virtual QSize GetTextExtent(const QString& text) const;
    virtual QSize GetCellExtent() const;

    virtual bool Edit(int, int, const QRect&, const QPoint&, int, int) { return false; }
    virtual bool ValidateEdit(const QString&) { return true; }
    virtual void EndEdit() {}
    virtual bool PrintCell(QPainter*, int, int, const QRect&) { return false; }
    virtual void OnEndEdit() {}

    virtual void OnMouseEnter() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseLeave() {}
    virtual void OnClick(QPoint) {}
    virtual void OnClickDown(QPoint) {}
    virtual void OnRClick(QPoint) {}
    virtual void OnDblClick(QPoint) {}
    // Answers whether the cell chose the cursor; the grid shows the arrow.
    virtual bool OnSetCursor() { return true; }

protected:
    quint32 m_nState = 0;
};
