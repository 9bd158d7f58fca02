#pragma once

#include <malloc.h>

#include <ctime>
#include <functional>

// What the benchmarks measure: the processor time of the calling thread
// (the machine is shared, and wall-clock time would count other work against
// the program) and the bytes the heap has handed out.
namespace ThreadClock {

inline double Milliseconds(const std::function<void()>& work)
{
    timespec start{};
    timespec end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    work();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    return double(end.tv_sec - start.tv_sec) * 1e3 + double(end.tv_nsec - start.tv_nsec) / 1e6;
}

// The least of runs figures that run answers: on a shared machine, the
// run that other work disturbed least.
inline double BestOf(int runs, const std::function<double()>& run)
{
    double best = run();
    for (int again = 1; again < runs; ++again) {
        const double figure = run();
        best = figure < best ? figure : best;
    }
    return best;
}

inline long HeapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return long(info.uordblks + info.hblkhd);
}

} // namespace ThreadClock
