// Timing helpers of the benchmarks: each benchmark times single operations
// and reports their median and 99th percentile in milliseconds.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace qiantai::bench {

using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Spread {
    double median = 0;
    double p99 = 0;
};

// Ends the benchmark with `message`.
inline void Skip(benchmark::State& state, const std::string& message)
{
    state.SkipWithError(message.c_str());
}

// Median and 99th percentile of `ms` (sorted in place).
inline Spread SpreadOf(std::vector<double>& ms)
{
    Spread s;
    if (ms.empty())
        return s;
    std::sort(ms.begin(), ms.end());
    s.median = ms[ms.size() / 2];
    s.p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    return s;
}

// Sets "<prefix>median_ms" and "<prefix>p99_ms".
inline Spread ReportSpread(benchmark::State& state, std::vector<double>& ms, const std::string& prefix = {})
{
    const Spread s = SpreadOf(ms);
    state.counters[prefix + "median_ms"] = s.median;
    state.counters[prefix + "p99_ms"] = s.p99;
    return s;
}

// Times `op` once per iteration (`setup` before it is not counted) and
// reports median and 99th percentile.
template <class Setup, class Op> void TimeEach(benchmark::State& state, Setup setup, Op op)
{
    std::vector<double> ms;
    for (auto _ : state) {
        setup();
        const auto start = Clock::now();
        op();
        const double took = MsSince(start);
        state.SetIterationTime(took / 1000);
        ms.push_back(took);
    }
    ReportSpread(state, ms);
}

} // namespace qiantai::bench
