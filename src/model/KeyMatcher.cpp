#include "KeyMatcher.h"

KeyMatcher::KeyMatcher(const std::vector<int>& first, const std::vector<int>& second)
    : a(first)
    , b(second)
{
    // Diagonals run from -(D + 1) to D + 1, D being at most half of both
    // lengths together; every part of the divided problem is smaller.
    const size_t reach = (first.size() + second.size() + 1) / 2 + 2;
    forward.resize(2 * reach + 1);
    backward.resize(2 * reach + 1);
}

KeyMatcher::Pairs KeyMatcher::Match(const std::vector<int>& first, const std::vector<int>& second)
{
    KeyMatcher matcher(first, second);
    matcher.Compare(0, int(first.size()), 0, int(second.size()));
    return std::move(matcher.pairs);
}

void KeyMatcher::AddRun(int a0, int b0, int length)
{
    for (int step = 0; step < length; ++step)
        pairs.emplace_back(a0 + step, b0 + step);
}

void KeyMatcher::Compare(int aLow, int aHigh, int bLow, int bHigh)
{
    // Equal ends are matched at once: tables mostly agree, so the search
    // below mostly sees the few rows around a change.
    while (aLow < aHigh && bLow < bHigh && a[size_t(aLow)] == b[size_t(bLow)])
        pairs.emplace_back(aLow++, bLow++);
    int suffix = 0;
    while (aLow < aHigh - suffix && bLow < bHigh - suffix
           && a[size_t(aHigh - 1 - suffix)] == b[size_t(bHigh - 1 - suffix)])
        ++suffix;
    aHigh -= suffix;
    bHigh -= suffix;
    if (aLow < aHigh && bLow < bHigh) {
        const Snake snake = MiddleSnake(aLow, aHigh, bLow, bHigh);
        Compare(aLow, aLow + snake.x0, bLow, bLow + snake.y0);
        AddRun(aLow + snake.x0, bLow + snake.y0, snake.x1 - snake.x0);
        Compare(aLow + snake.x1, aHigh, bLow + snake.y1, bHigh);
    }
    AddRun(aHigh, bHigh, suffix);
}

// The snake in the middle of a shortest edit script of the two ranges,
// searched from both ends at once; its ends are relative to the ranges.
// The backward search walks both ranges reversed, so its diagonal k meets
// the forward one's diagonal delta - k.
KeyMatcher::Snake KeyMatcher::MiddleSnake(int aLow, int aHigh, int bLow, int bHigh)
{
    const int n = aHigh - aLow;
    const int m = bHigh - bLow;
    const int delta = n - m;
    const bool odd = (delta & 1) != 0;
    const int offset = int(forward.size() / 2);
    const auto at = [offset](std::vector<int>& v, int k) -> int& { return v[size_t(offset + k)]; };
    // The furthest reach on diagonal k after d edits, then along the keys
    // that agree: where it started and where it ended.
    const auto reach = [&](std::vector<int>& v, int d, int k, auto agree) {
        int x = (k == -d || (k != d && at(v, k - 1) < at(v, k + 1))) ? at(v, k + 1) : at(v, k - 1) + 1;
        const Snake snake{x, x - k, 0, 0};
        while (x < n && x - k < m && agree(x, x - k))
            ++x;
        at(v, k) = x;
        return Snake{snake.x0, snake.y0, x, x - k};
    };
    const auto ahead = [&](int x, int y) { return a[size_t(aLow + x)] == b[size_t(bLow + y)]; };
    const auto behind = [&](int x, int y) { return a[size_t(aHigh - 1 - x)] == b[size_t(bHigh - 1 - y)]; };
    at(forward, 1) = 0;
    at(backward, 1) = 0;
    for (int d = 0; d <= (n + m + 1) / 2; ++d) {
        for (int k = -d; k <= d; k += 2) {
            const Snake snake = reach(forward, d, k, ahead);
            const int other = delta - k;
            if (odd && other >= -(d - 1) && other <= d - 1 && snake.x1 + at(backward, other) >= n)
                return snake;
        }
        for (int k = -d; k <= d; k += 2) {
            const Snake snake = reach(backward, d, k, behind);
            const int other = delta - k;
            if (!odd && other >= -d && other <= d && snake.x1 + at(forward, other) >= n)
                return {n - snake.x1, m - snake.y1, n - snake.x0, m - snake.y0};
        }
    }
    // Two non-empty ranges always meet within (n + m + 1) / 2 rounds; were
    // they not to, matching nothing still ends the division.
    return {n, 0, n, 0};
}
