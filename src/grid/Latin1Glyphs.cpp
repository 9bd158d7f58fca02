#include "grid/Latin1Glyphs.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPointF>

#include <algorithm>
#include <cmath>

Latin1Glyphs::Latin1Glyphs(const QFont& font)
    : m_rawFont(QRawFont::fromFont(font))
{
    if (!m_rawFont.isValid())
        return;
    QString all;
    for (int code = 0; code < 256; ++code)
        all.append(QChar(char16_t(code)));
    const QList<quint32> glyphs = m_rawFont.glyphIndexesForString(all);
    if (glyphs.size() != 256)
        return;
    const QList<QPointF> advances = m_rawFont.advancesForGlyphIndexes(glyphs);
    for (int code = 0; code < 256; ++code) {
        m_glyphs[size_t(code)] = glyphs.at(code);
        m_advances[size_t(code)] = advances.value(code).x();
        // Control characters have no advance of their own to speak of.
        m_handled[size_t(code)] = code >= 0x20 && m_glyphs[size_t(code)] != 0;
    }
}

bool Latin1Glyphs::Handles(const QString& text) const
{
    return m_rawFont.isValid() && std::all_of(text.cbegin(), text.cend(), [this](QChar ch) {
        return ch.unicode() <= 0xFF && m_handled[ch.unicode()];
    });
}

std::optional<int> Latin1Glyphs::WidthOf(QByteArrayView latin1) const
{
    qreal width = 0;
    for (const char byte : latin1) {
        const auto code = uchar(byte);
        if (!m_handled[code])
            return std::nullopt;
        width += m_advances[code];
    }
    return int(std::ceil(width));
}

int Latin1Glyphs::Width(const QString& text) const
{
    qreal width = 0;
    for (QChar ch : text)
        width += m_advances[ch.unicode() & 0xFF];
    return int(std::ceil(width));
}

QString Latin1Glyphs::Elided(const QString& text, int width) const
{
    const QString ellipsis = QStringLiteral("...");
    const qreal available = width - Width(ellipsis);
    qreal used = 0;
    qsizetype kept = 0;
    for (; kept < text.size(); ++kept) {
        const qreal next = used + m_advances[text.at(kept).unicode() & 0xFF];
        if (next > available)
            break;
        used = next;
    }
    return text.left(kept) + ellipsis;
}

void Latin1Glyphs::Draw(QPainter& painter, const QPointF& origin, const QString& text) const
{
    m_runGlyphs.resize(size_t(text.size()));
    m_runPositions.resize(size_t(text.size()));
    qreal x = 0;
    for (qsizetype index = 0; index < text.size(); ++index) {
        const char16_t code = text.at(index).unicode() & 0xFF;
        m_runGlyphs[size_t(index)] = m_glyphs[code];
        m_runPositions[size_t(index)] = QPointF(x, 0);
        x += m_advances[code];
    }
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setRawData(m_runGlyphs.data(), m_runPositions.data(), int(text.size()));
    painter.drawGlyphRun(origin, run);
}
