#pragma once
// Timing both sides of a benchmark case in one process: the sides run alternately (ours
// first in even pairs, the peer first in odd ones), each step after its untimed preparation,
// and the case's figure is the median of the per-pair ratios ours / peer.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

namespace paired {

using Clock = std::chrono::steady_clock;

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Milliseconds of one `step` after `prepare` (untimed).
inline double TimeOnce(const std::function<void()>& prepare, const std::function<void()>& step)
{
    if (prepare) prepare();
    const auto a = Clock::now();
    step();
    return std::chrono::duration<double, std::milli>(Clock::now() - a).count();
}

// Milliseconds of CPU time the calling thread spent in `step`.  For steps of a millisecond or
// two on a loaded machine: the wall clock also counts the time slices other processes took
// from the core in between, which lands on one side or the other at random.
inline double CpuTimeOnce(const std::function<void()>& prepare, const std::function<void()>& step)
{
    const auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    };
    if (prepare) prepare();
    const double a = now();
    step();
    return now() - a;
}

struct Side {
    std::function<void()> Prepare;
    std::function<void()> Step;
};

struct Result {
    double Ours, Peer, Ratio;  // medians of the pairs
};

using Timer = double (*)(const std::function<void()>&, const std::function<void()>&);

inline Result Run(int Pairs, const Side& Ours, const Side& Peer, Timer Time = TimeOnce)
{
    std::vector<double> ours, peer, ratio;
    for (int i = 0; i < Pairs; ++i) {
        double o, p;
        if (i % 2 == 0) {
            o = Time(Ours.Prepare, Ours.Step);
            p = Time(Peer.Prepare, Peer.Step);
        } else {
            p = Time(Peer.Prepare, Peer.Step);
            o = Time(Ours.Prepare, Ours.Step);
        }
        ours.push_back(o);
        peer.push_back(p);
        ratio.push_back(o / p);
    }
    return {Median(ours), Median(peer), Median(ratio)};
}

// One line `ratio <case> <ours/peer>` on standard output, the times on standard error.
inline void Report(const char* Name, const Result& R)
{
    std::printf("ratio %s %.3f\n", Name, R.Ratio);
    std::fflush(stdout);
    std::fprintf(stderr, "  %s: ours %.3f ms, peer %.3f ms (medians)\n", Name, R.Ours, R.Peer);
}

}  // namespace paired
