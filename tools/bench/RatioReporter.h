#pragma once

// The console table of Google Benchmark, keeping each benchmark's real time per
// iteration by name so that a bench can print ratios against a reference
// measured in the same run. With repetitions the median stands for the
// benchmark (one slow repetition should not move the ratio).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Turns a time per iteration in nanoseconds into the text shown beside a
    // ratio, e.g. "12.5 ns" or "3.20 Mbeams/s".
    using UnitText = std::function<std::string(double nanoseconds)>;

    // Width of the name columns in the ratio lines.
    int nameWidth = 24;

    // Keep the processor time of each run instead of its wall time: for
    // single-threaded subjects on a loaded machine, where time spent
    // preempted would otherwise count as the subject's.
    bool processorTime = false;

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // Keyed without the warm-up part, so a bench that warms its
            // cases up asks for them by their plain names.
            benchmark::BenchmarkName plain = run.run_name;
            plain.min_warmup_time.clear();
            const std::string name = plain.str();
            const double time = processorTime ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
            const double ns = time * benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
                              benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median")
                    medians_[name] = ns;
            } else {
                iterations_[name] = ns;
            }
        }
    }

    // Nanoseconds per iteration of the named benchmark; empty when it did not run.
    std::optional<double> Nanoseconds(const std::string& name) const
    {
        const auto median = medians_.find(name);
        if (median != medians_.end())
            return median->second;
        const auto last = iterations_.find(name);
        if (last != iterations_.end())
            return last->second;
        return std::nullopt;
    }

    // A time in the given unit, e.g. TimeIn("us", 1e3, 1) shows "12.3 us".
    static UnitText TimeIn(const char* unit, double nanosecondsPerUnit, int decimals)
    {
        return [unit, nanosecondsPerUnit, decimals](double ns) {
            char text[64];
            std::snprintf(text, sizeof text, "%.*f %s", decimals, ns / nanosecondsPerUnit, unit);
            return std::string(text);
        };
    }

    // "subject / reference = N.NNx time (s vs r)": lower is faster. Nothing
    // when either did not run.
    void PrintRatio(const std::string& subject, const std::string& reference,
                    const UnitText& unit = TimeIn("ns", 1.0, 1)) const
    {
        const std::optional<double> s = Nanoseconds(subject);
        const std::optional<double> r = Nanoseconds(reference);
        if (!s || !r || *r <= 0.0)
            return;
        std::printf("  %-*s / %-*s = %8.2fx time (%s vs %s)\n", nameWidth, subject.c_str(), nameWidth,
                    reference.c_str(), *s / *r, unit(*s).c_str(), unit(*r).c_str());
    }

    // "subject vs reference: N.Nx faster (s vs r)": how many times the
    // subject beats the reference.
    void PrintSpeedup(const std::string& subject, const std::string& reference,
                      const UnitText& unit = TimeIn("ns", 1.0, 1)) const
    {
        const std::optional<double> s = Nanoseconds(subject);
        const std::optional<double> r = Nanoseconds(reference);
        if (!s || !r || *s <= 0.0)
            return;
        std::printf("  %-*s vs %-*s: %8.1fx faster (%s vs %s)\n", nameWidth, subject.c_str(), nameWidth,
                    reference.c_str(), *r / *s, unit(*s).c_str(), unit(*r).c_str());
    }

private:
    std::map<std::string, double> medians_;
    std::map<std::string, double> iterations_;
};
