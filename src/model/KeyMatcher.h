#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// Matches two sequences of keys as a line diff matches lines: the longest
// run of equal keys that keeps the order of both (a shortest edit script,
// found by Myers' divide-and-conquer in linear space).  A row inserted or
// moved costs only itself, never the rows after it.
class KeyMatcher
{
public:
    using Pairs = std::vector<std::pair<int, int>>;

    // The matched (index in first, index in second), increasing in both.
    static Pairs Match(const std::vector<int>& first, const std::vector<int>& second);

private:
    struct Snake
    {
        int x0, y0, x1, y1;
    };

    KeyMatcher(const std::vector<int>& first, const std::vector<int>& second);
    void Compare(int aLow, int aHigh, int bLow, int bHigh);
    Snake MiddleSnake(int aLow, int aHigh, int bLow, int bHigh);
    void AddRun(int a, int b, int length);

    const std::vector<int>& a;
    const std::vector<int>& b;
    std::vector<int> forward;
    std::vector<int> backward;
    Pairs pairs;
};
