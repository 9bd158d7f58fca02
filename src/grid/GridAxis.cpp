#include "grid/GridAxis.h"

#include <algorithm>
#include <utility>

GridAxis::GridAxis(int count, int fixedCount, std::function<int(int)> sizeOf)
    : m_count(std::max(count, 0))
    , m_fixedCount(std::clamp(fixedCount, 0, m_count))
    , m_sizeOf(std::move(sizeOf))
{
}

bool GridAxis::IsShown(int index) const
{
    return index >= 0 && index < m_count && m_sizeOf(index) > 0;
}

int GridAxis::NextShown(int index) const
{
    for (int i = std::max(index + 1, m_fixedCount); i < m_count; ++i)
        if (IsShown(i))
            return i;
    return -1;
}

int GridAxis::PreviousShown(int index) const
{
    for (int i = std::min(index - 1, m_count - 1); i >= m_fixedCount; --i)
        if (IsShown(i))
            return i;
    return -1;
}

int GridAxis::FirstShown() const
{
    return NextShown(m_fixedCount - 1);
}

int GridAxis::LastShown() const
{
    return PreviousShown(m_count);
}

int GridAxis::ShownNear(int index) const
{
    if (index >= m_fixedCount && IsShown(index))
        return index;
    const int after = NextShown(index);
    return after >= 0 ? after : PreviousShown(index);
}
