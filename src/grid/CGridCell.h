#pragma once

#include "grid/CGridCellBase.h"

#include <QByteArrayView>
#include <QPointer>

#include <memory>

// The cell object of a grid position that has attributes of its own (cells
// with nothing but a text and state bits live in their row, see GridRow).
// It keeps what every such cell has (state, format, text, grid link); the
// attributes a program rarely sets (image, item data, colours, font, margin,
// the open editor) live in a block allocated on first use.
class CGridCell : public CGridCellBase
{
public:
    CGridCell() = default;
    ~CGridCell() override;

    void SetText(const QString& text) override { m_strText = text; }
    // The text from Latin-1 bytes, in the storage the text has already when
    // it is large enough: a stand-in cell takes thousands of texts a paint.
    void SetTextLatin1(QByteArrayView latin1);
    void SetImage(int image) override;
    void SetData(qint32 data) override;
    void SetFormat(quint32 format) override { m_nFormat = format; }
    void SetTextClr(COLORREF colour) override;
    void SetBackClr(COLORREF colour) override;
    void SetFont(const LogFont* font) override;
    void SetMargin(quint32 margin) override;
    void SetGrid(CGridCtrl* grid) override { m_pGrid = grid; }

    QString GetText() const override { return m_strText; }
    int GetImage() const override { return m_pExtra ? m_pExtra->image : -1; }
    qint32 GetData() const override { return m_pExtra ? m_pExtra->data : 0; }
    quint32 GetFormat() const override;
    COLORREF GetTextClr() const override { return m_pExtra ? m_pExtra->textColour : CLR_DEFAULT; }
    COLORREF GetBackClr() const override { return m_pExtra ? m_pExtra->backColour : CLR_DEFAULT; }
    const LogFont* GetFont() const override;
    const QFont* GetFontObject() const override;
    CGridCtrl* GetGrid() const override { return m_pGrid; }
    CInPlaceEdit* GetEditWnd() const override;
    quint32 GetMargin() const override;
    bool IsDefaultFont() const override { return !m_pExtra || !m_pExtra->font; }
    bool IsEditing() const override { return m_pExtra && m_pExtra->editing; }

    void Reset() override;

    bool Edit(int row, int col, const QRect& rect, const QPoint& point, int id, int ch) override;
    void EndEdit() override;
    void OnEndEdit() override;

private:
    struct Extra
    {
        int image = -1;
        qint32 data = 0;
        COLORREF textColour = CLR_DEFAULT;
        COLORREF backColour = CLR_DEFAULT;
        quint32 margin = UseDefaultMargin;
        bool editing = false;
        QPointer<CInPlaceEdit> editor;
        std::unique_ptr<LogFont> font;
    };

    Extra& EnsureExtra();

    quint32 m_nFormat = UseDefaultFormat;
    CGridCtrl* m_pGrid = nullptr;
    QString m_strText;
    std::unique_ptr<Extra> m_pExtra;
};
