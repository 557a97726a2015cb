#include "StreamAnalysis.h"

#include <cmath>
#include <cstddef>

namespace {

// Zero runs shorter than this are a hair between two changes, not a silence.
constexpr std::size_t ShortestSilence = 24;
// Halves of a note that differ by more than this are two notes.
constexpr double DistinctHalfPeriods = 0.015;
constexpr std::size_t ShortestNote = 8; // half-periods

double Mean(std::span<const std::size_t> runs)
{
    double sum = 0;
    for (const std::size_t run : runs)
        sum += static_cast<double>(run);
    return sum / static_cast<double>(runs.size());
}

// Splits a tone's half-periods where the sum of squared deviations is smallest, recursively.
void SplitTone(std::span<const std::size_t> runs, int sampleRate, std::vector<Segment>& out)
{
    const std::size_t n = runs.size();
    std::size_t best = 0;
    double bestCost = 0;
    std::vector<double> sum(n + 1, 0), squares(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        sum[i + 1] = sum[i] + static_cast<double>(runs[i]);
        squares[i + 1] = squares[i] + static_cast<double>(runs[i] * runs[i]);
    }
    const auto cost = [&](std::size_t from, std::size_t to) {
        const double s = sum[to] - sum[from];
        return squares[to] - squares[from] - s * s / static_cast<double>(to - from);
    };
    for (std::size_t k = ShortestNote; k + ShortestNote <= n; ++k) {
        const double c = cost(0, k) + cost(k, n);
        if (best == 0 || c < bestCost) {
            best = k;
            bestCost = c;
        }
    }
    if (best != 0) {
        // Edge half-periods may be cut by a change, so they are left out of the comparison.
        const double left = Mean(runs.subspan(1, best - 2));
        const double right = Mean(runs.subspan(best + 1, n - best - 2));
        if (std::fabs(left - right) > DistinctHalfPeriods * (left + right) / 2) {
            SplitTone(runs.first(best), sampleRate, out);
            SplitTone(runs.subspan(best), sampleRate, out);
            return;
        }
    }
    const std::span<const std::size_t> inner = n > 4 ? runs.subspan(1, n - 2) : runs;
    out.push_back({sampleRate / (2 * Mean(inner)), 1000.0 * (sum[n]) / sampleRate});
}

} // namespace

std::vector<Segment> Segments(std::span<const std::int16_t> samples, int sampleRate)
{
    std::vector<Segment> out;
    std::vector<std::size_t> runs; // half-periods of the tone being read
    std::size_t zeros = 0;
    const auto endTone = [&] {
        if (!runs.empty())
            SplitTone(runs, sampleRate, out);
        runs.clear();
    };
    const auto addSilence = [&](std::size_t count) {
        if (!out.empty() && out.back().frequency == 0)
            out.back().milliseconds += 1000.0 * count / sampleRate;
        else
            out.push_back({0, 1000.0 * count / sampleRate});
    };
    int sign = 0;
    for (const std::int16_t sample : samples) {
        if (sample == 0) {
            ++zeros;
            continue;
        }
        if (zeros >= ShortestSilence) {
            endTone();
            addSilence(zeros);
            sign = 0;
        } else if (zeros > 0 && !runs.empty()) {
            runs.back() += zeros;
        }
        zeros = 0;
        const int s = sample > 0 ? 1 : -1;
        if (s != sign)
            runs.push_back(0);
        sign = s;
        ++runs.back();
    }
    endTone();
    if (zeros > 0)
        addSilence(zeros);
    return out;
}

std::vector<Segment> Trimmed(std::vector<Segment> segments)
{
    while (!segments.empty() && segments.back().frequency == 0)
        segments.pop_back();
    std::size_t first = 0;
    while (first < segments.size() && segments[first].frequency == 0)
        ++first;
    segments.erase(segments.begin(), segments.begin() + static_cast<std::ptrdiff_t>(first));
    return segments;
}
