#include "grid/CGridCell.h"

#include "grid/CGridCtrl.h"
#include "grid/CGridDefaultCell.h"
#include "grid/CInPlaceEdit.h"
#include "grid/DrawTextFlags.h"

#include <QFont>

CGridCell::~CGridCell()
{
    // An editor left open on a cell that goes away would report into
    // whatever cell takes its place.
    if (CInPlaceEdit* editor = GetEditWnd())
        editor->Abandon();
}

void CGridCell::SetTextLatin1(QByteArrayView latin1)
{
    m_strText.resize(latin1.size());
    QChar* text = m_strText.data();
    for (const char byte : latin1)
        *text++ = QChar(uchar(byte));
}

CGridCell::Extra& CGridCell::EnsureExtra()
{
    if (!m_pExtra)
        m_pExtra = std::make_unique<Extra>();
    return *m_pExtra;
}

void CGridCell::SetImage(int image)
{
    if (m_pExtra || image != -1)
        EnsureExtra().image = image;
}

void CGridCell::SetData(qint32 data)
{
    if (m_pExtra || data != 0)
        EnsureExtra().data = data;
}

void CGridCell::SetTextClr(COLORREF colour)
{
    if (m_pExtra || colour != CLR_DEFAULT)
        EnsureExtra().textColour = colour;
}

void CGridCell::SetBackClr(COLORREF colour)
{
    if (m_pExtra || colour != CLR_DEFAULT)
        EnsureExtra().backColour = colour;
}

void CGridCell::SetFont(const LogFont* font)
{
    if (!font) {
        if (m_pExtra)
            m_pExtra->font.reset();
        return;
    }
    Extra& extra = EnsureExtra();
    if (extra.font)
        *extra.font = *font;
    else
        extra.font = std::make_unique<LogFont>(*font);
}

void CGridCell::SetMargin(quint32 margin)
{
    if (m_pExtra || margin != UseDefaultMargin)
        EnsureExtra().margin = margin;
}

quint32 CGridCell::GetFormat() const
{
    if (m_nFormat != UseDefaultFormat)
        return m_nFormat;
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    return defaultCell ? defaultCell->GetFormat() : 0;
}

const LogFont* CGridCell::GetFont() const
{
    if (m_pExtra && m_pExtra->font)
        return m_pExtra->font.get();
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    return defaultCell ? defaultCell->GetFont() : nullptr;
}

const QFont* CGridCell::GetFontObject() const
{
    if (m_pExtra && m_pExtra->font) {
        // One font object serves every cell with a font of its own; a caller
        // uses it before asking the next cell.
        static QFont shared;
        shared = m_pExtra->font->ToQFont();
        return &shared;
    }
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    return defaultCell ? defaultCell->GetFontObject() : nullptr;
}

CInPlaceEdit* CGridCell::GetEditWnd() const
{
    return m_pExtra ? m_pExtra->editor.data() : nullptr;
}

quint32 CGridCell::GetMargin() const
{
    if (m_pExtra && m_pExtra->margin != UseDefaultMargin)
        return m_pExtra->margin;
    const CGridDefaultCell* defaultCell = GetDefaultCell();
    if (!defaultCell || defaultCell == this)
        return 0;
    return defaultCell->GetMargin();
}

void CGridCell::Reset()
{
    CGridCellBase::Reset();
    m_strText.clear();
    m_nFormat = UseDefaultFormat;
    m_pGrid = nullptr;
    if (m_pExtra) {
        const qint32 data = m_pExtra->data;
        *m_pExtra = Extra();
        m_pExtra->data = data;
    }
}

bool CGridCell::Edit(int row, int col, const QRect& rect, const QPoint&, int id, int ch)
{
    if (IsEditing()) {
        if (CInPlaceEdit* editor = GetEditWnd())
            editor->ProcessCharacter(ch);
        return true;
    }
    const quint32 format = GetFormat();
    Qt::Alignment alignment = Qt::AlignLeft;
    if (format & DT_RIGHT)
        alignment = Qt::AlignRight;
    else if (format & DT_CENTER)
        alignment = Qt::AlignHCenter;

    Extra& extra = EnsureExtra();
    extra.editing = true;
    extra.editor = new CInPlaceEdit(GetGrid(), rect, alignment, id, row, col, GetText(), ch);
    return true;
}

void CGridCell::EndEdit()
{
    if (CInPlaceEdit* editor = GetEditWnd())
        editor->EndEdit();
}

void CGridCell::OnEndEdit()
{
    if (m_pExtra) {
        m_pExtra->editing = false;
        m_pExtra->editor = nullptr;
    }
}
