#pragma once

#include <QByteArrayView>
#include <QFont>
#include <QRawFont>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class QPainter;
class QPointF;

// The glyphs and advances of the 256 Latin-1 characters in one font, so that
// a single line of cell text is measured and drawn without shaping it each
// time: a screen of a large table is thousands of cells, painted on every
// scroll.  Measuring and drawing use the same advances, so a column sized to
// a text's width shows that text whole.  Text with a character the font has
// no glyph for answers "not handled" and takes Qt's ordinary text path.
class Latin1Glyphs
{
public:
    explicit Latin1Glyphs(const QFont& font);

    bool Handles(const QString& text) const;
    // Width of text in pixels (text must be handled).
    int Width(const QString& text) const;
    // The width of a text in Latin-1 bytes, or nothing when the text is not
    // handled: one pass over the bytes, as auto-sizing measures whole tables.
    std::optional<int> WidthOf(QByteArrayView latin1) const;
    // The longest start of text that, followed by "...", fits in width.
    QString Elided(const QString& text, int width) const;
    // Draws text with its baseline starting at origin.
    void Draw(QPainter& painter, const QPointF& origin, const QString& text) const;

private:
    QRawFont m_rawFont;
    std::array<quint32, 256> m_glyphs{};
    std::array<qreal, 256> m_advances{};
    std::array<bool, 256> m_handled{};
    mutable std::vector<quint32> m_runGlyphs;
    mutable std::vector<QPointF> m_runPositions;
};
