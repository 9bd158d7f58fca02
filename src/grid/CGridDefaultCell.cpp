#include "grid/CGridDefaultCell.h"

#include "grid/DrawTextFlags.h"

#include <QApplication>
#include <QGuiApplication>

CGridDefaultCell::CGridDefaultCell()
    : m_metrics(m_font)
{
    SetFormat(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetTextClr(CLR_DEFAULT);
    SetBackClr(CLR_DEFAULT);
    const LogFont messageFont = LogFont::FromQFont(QApplication::font());
    SetFont(&messageFont);
}

void CGridDefaultCell::SetFont(const LogFont* font)
{
    if (!font)
        return;
    m_logFont = *font;
    m_font = m_logFont.ToQFont();
    m_metrics = QFontMetrics(m_font);
    m_glyphs = std::make_unique<Latin1Glyphs>(m_font);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // Without a screen there is nothing to measure with.
        SetMargin(3);
        m_nWidth = 40;
        m_nHeight = 16;
        return;
    }
    SetMargin(quint32(m_metrics.horizontalAdvance(QStringLiteral(" "))));
    const QString sample = QStringLiteral(" XXXXXXXXXXXX ");
    m_nWidth = m_metrics.horizontalAdvance(sample);
    m_nHeight = m_metrics.height() * 3 / 2;
}

int CGridDefaultCell::SingleLineWidth(const QString& text) const
{
    return m_glyphs->Handles(text) ? m_glyphs->Width(text) : m_metrics.horizontalAdvance(text);
}

int CGridDefaultCell::SingleLineWidth(QByteArrayView latin1) const
{
    if (const std::optional<int> width = m_glyphs->WidthOf(latin1))
        return *width;
    return m_metrics.horizontalAdvance(QString::fromLatin1(latin1));
}
