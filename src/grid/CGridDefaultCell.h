#pragma once

#include "grid/CGridCell.h"
#include "grid/Latin1Glyphs.h"

#include <QFont>
#include <QFontMetrics>

#include <memory>

// The default attributes of one area of a grid (ordinary, fixed row, fixed
// column, corner), with the size new rows and columns take.  Its font is
// measured once when it is set, and the metrics are kept for painting.
class CGridDefaultCell : public CGridCell
{
public:
    CGridDefaultCell();

    void SetData(qint32) override {}
    void SetState(quint32) override {}
    quint32 GetState() const override { return m_nState | CellStateReadOnly; }
    const LogFont* GetFont() const override { return &m_logFont; }
    const QFont* GetFontObject() const override { return &m_font; }
    void SetFont(const LogFont* font) override;

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    void SetWidth(int width) { m_nWidth = width; }
    void SetHeight(int height) { m_nHeight = height; }
    const QFontMetrics& GetFontMetrics() const { return m_metrics; }
    const Latin1Glyphs& GetGlyphs() const { return *m_glyphs; }
    // The width of one line of text in this area's font, as painting draws
    // it: through the glyph widths where they serve, else as Qt lays it out.
    int SingleLineWidth(const QString& text) const;
    int SingleLineWidth(QByteArrayView latin1) const;

private:
    int m_nWidth = 30;
    int m_nHeight = 10;
    LogFont m_logFont;
    QFont m_font;
    QFontMetrics m_metrics;
    std::unique_ptr<Latin1Glyphs> m_glyphs;
};
