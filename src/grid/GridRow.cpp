#include "grid/GridRow.h"

#include <QString>

#include <algorithm>
#include <cstring>

std::vector<GridRow::Owned>::const_iterator GridRow::FindObject(int col) const
{
    return std::lower_bound(m_objects.cbegin(), m_objects.cend(), col,
                            [](const Owned& owned, int wanted) { return owned.col < wanted; });
}

std::vector<GridRow::Owned>::iterator GridRow::FindObject(int col)
{
    return std::lower_bound(m_objects.begin(), m_objects.end(), col,
                            [](const Owned& owned, int wanted) { return owned.col < wanted; });
}

CGridCellBase& GridRow::Adopt(int col, std::unique_ptr<CGridCellBase> cell)
{
    const auto at = FindObject(col);
    cell->SetState(m_states[size_t(col)]);
    cell->SetText(QString::fromLatin1(Text(col)));
    CGridCellBase& adopted = *m_objects.insert(at, Owned{col, std::move(cell)})->cell;
    MakeRoom(col, 0);
    return adopted;
}

void GridRow::SetText(int col, QByteArrayView latin1)
{
    if (latin1 == Text(col))
        return;
    char* bytes = MakeRoom(col, latin1.size());
    std::copy(latin1.begin(), latin1.end(), bytes);
}

void GridRow::SetText(int col, QStringView latin1)
{
    if (QLatin1StringView(Text(col)) == latin1)
        return;
    char* bytes = MakeRoom(col, latin1.size());
    for (const QChar ch : latin1)
        *bytes++ = char(ch.unicode());
}

// Four ends at a time, which the compiler turns into one vector addition: a
// paste over a wide table shifts the ends of the rest of the row for every
// cell it changes.
void GridRow::ShiftEnds(int from, quint32 delta)
{
    quint32* end = m_ends.data() + from;
    quint32* const last = m_ends.data() + m_ends.size();
    for (; last - end >= 4; end += 4) {
        end[0] += delta;
        end[1] += delta;
        end[2] += delta;
        end[3] += delta;
    }
    for (; end != last; ++end)
        *end += delta;
}

char* GridRow::MakeRoom(int col, qsizetype size)
{
    const qsizetype start = col == 0 ? 0 : m_ends[size_t(col) - 1];
    const qsizetype end = m_ends[size_t(col)];
    const qsizetype grown = size - (end - start);
    if (grown != 0) {
        const qsizetype oldSize = m_text.size();
        if (grown > 0)
            m_text.resize(oldSize + grown);
        char* bytes = m_text.data();
        std::memmove(bytes + end + grown, bytes + end, size_t(oldSize - end));
        if (grown < 0)
            m_text.truncate(oldSize + grown);
        ShiftEnds(col, quint32(grown));
    }
    return m_text.data() + start;
}

void GridRow::SetTexts(std::span<const QByteArrayView> latin1)
{
    const size_t given = std::min(latin1.size(), m_ends.size());
    qsizetype bytes = 0;
    for (size_t col = 0; col < given; ++col)
        bytes += latin1[col].size();
    QByteArray text(bytes, Qt::Uninitialized);
    char* next = text.data();
    for (size_t col = 0; col < m_ends.size(); ++col) {
        if (col < given)
            next = std::copy(latin1[col].begin(), latin1[col].end(), next);
        m_ends[col] = quint32(next - text.constData());
    }
    m_text = std::move(text);
    for (Owned& owned : m_objects)
        owned.cell->SetText(size_t(owned.col) < given ? QString::fromLatin1(latin1[size_t(owned.col)]) : QString());
    // The object holds the text of its cell; the row keeps none for it.
    for (auto owned = m_objects.crbegin(); owned != m_objects.crend(); ++owned)
        MakeRoom(owned->col, 0);
}

void GridRow::AddStates(quint32 bits, int from)
{
    for (size_t col = size_t(from); col < m_states.size(); ++col)
        m_states[col] |= quint8(bits);
    for (auto owned = FindObject(from); owned != m_objects.end(); ++owned)
        owned->cell->SetState(owned->cell->GetState() | bits);
}

void GridRow::ClearStates(quint32 bits)
{
    const auto kept = quint8(~bits);
    for (quint8& state : m_states)
        state &= kept;
    for (const Owned& owned : m_objects) {
        if (owned.cell->GetState() & bits)
            owned.cell->SetState(owned.cell->GetState() & ~bits);
    }
}

void GridRow::Reserve(int cols)
{
    m_ends.reserve(size_t(cols));
    m_states.reserve(size_t(cols));
}

void GridRow::Shrink(int cols)
{
    m_objects.erase(FindObject(cols), m_objects.end());
    m_ends.resize(size_t(cols));
    m_states.resize(size_t(cols));
    m_text.truncate(m_ends.empty() ? 0 : qsizetype(m_ends.back()));
}

void GridRow::Insert(int col, quint32 state)
{
    const quint32 start = col == 0 ? 0 : m_ends[size_t(col) - 1];
    Reserve(Size() + 1);
    m_ends.insert(m_ends.begin() + col, start);
    m_states.insert(m_states.begin() + col, quint8(state));
    for (auto owned = FindObject(col); owned != m_objects.end(); ++owned)
        ++owned->col;
}

void GridRow::Erase(int col)
{
    MakeRoom(col, 0);
    m_ends.erase(m_ends.begin() + col);
    m_states.erase(m_states.begin() + col);
    auto owned = FindObject(col);
    if (owned != m_objects.end() && owned->col == col)
        owned = m_objects.erase(owned);
    for (; owned != m_objects.end(); ++owned)
        --owned->col;
}
