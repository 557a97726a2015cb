#pragma once

#include <cstdint>

namespace engine {

// One process-wide generator. PCG32 (O'Neill, XSH-RR) is small, well studied and gives the
// same stream for a seed on every compiler, which the standard distributions do not promise;
// replaying a seed must replay the deal.
void Randomize(std::uint32_t seed);

// Uniform integer in 0..n-1 without modulo bias; 0 for n <= 0.
std::int32_t Random(std::int32_t n);

// The clock source for seeding: milliseconds since midnight, UTC. Tests replace it.
using ClockSource = std::uint32_t (*)();
std::uint32_t MillisecondsSinceMidnightUtc();
void SetClockSource(ClockSource source); // nullptr restores the real clock
std::uint32_t ClockSeed();

// Reseed from the clock source, as the main window and every new card control do.
void RandomizeFromClock();

} // namespace engine
