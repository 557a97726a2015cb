#include "engine/Random.h"

#include <chrono>

namespace engine {
namespace {

constexpr std::uint64_t Multiplier = 6364136223846793005ULL;
constexpr std::uint64_t Increment = 1442695040888963407ULL; // fixed odd stream

std::uint64_t state = 0;
ClockSource clockSource = &MillisecondsSinceMidnightUtc;

std::uint32_t Next()
{
    const std::uint64_t old = state;
    state = old * Multiplier + Increment;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
    const auto rot = static_cast<std::uint32_t>(old >> 59U);
    return (xorshifted >> rot) | (xorshifted << ((32U - rot) & 31U));
}

} // namespace

void Randomize(std::uint32_t seed)
{
    // The reference pcg32_srandom sequence: step, add the seed, step.
    state = 0;
    Next();
    state += seed;
    Next();
}

std::int32_t Random(std::int32_t n)
{
    if (n <= 0)
        return 0;
    const auto bound = static_cast<std::uint32_t>(n);
    // Reject the low values that would make some results more likely than others.
    const std::uint32_t threshold = (0U - bound) % bound;
    for (;;) {
        const std::uint32_t r = Next();
        if (r >= threshold)
            return static_cast<std::int32_t>(r % bound);
    }
}

std::uint32_t MillisecondsSinceMidnightUtc()
{
    using namespace std::chrono;
    const auto now = time_point_cast<milliseconds>(system_clock::now());
    const auto sinceMidnight = now - floor<days>(now);
    return static_cast<std::uint32_t>(sinceMidnight.count());
}

void SetClockSource(ClockSource source)
{
    clockSource = source ? source : &MillisecondsSinceMidnightUtc;
}

std::uint32_t ClockSeed()
{
    return clockSource();
}

void RandomizeFromClock()
{
    Randomize(ClockSeed());
}

} // namespace engine
