#pragma once

// The draw advisor: for five dealt cards, every one of the 32 ways to keep some of them, with
// the chance of each final class and the chances of winning, tying and losing against this
// game's computer. It knows only what the player knows (their own five cards), plays the
// engine's own rules in their pure form, and never touches the game's state or its generator,
// so it may run on any thread and the deals stay as they would have been.

#include "engine/Engine.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

namespace engine {

// Bit i set keeps slot i of the hand as given.
using KeepMask = std::uint8_t;
constexpr int KeepChoices = 32;
constexpr KeepMask KeepAll = KeepChoices - 1;

KeepMask MaskOf(const std::array<bool, HandSize>& keep);
constexpr int KeptCount(KeepMask mask)
{
    int n = 0;
    for (int slot = 0; slot < HandSize; ++slot)
        n += (mask >> slot) & 1;
    return n;
}

// How many of the draws for one choice end in each class; the chances are exact fractions.
struct ClassCounts {
    std::array<std::uint32_t, 10> count{};
    std::uint32_t draws = 0; // every draw from the 47 unseen cards: C(47, cards drawn)
    double Chance(int category) const;
};

struct ChoiceOdds {
    KeepMask keep = 0;
    ClassCounts classes;
    double win = 0; // against the computer, as fractions of the rounds
    double tie = 0;
    double loss = 0;
    // The money expected back per złoty of stake.
    double Expected() const { return win - loss; }
};

// The sampled chances: 120,000 rounds, so each of win, tie and loss is within
// 1.96 * sqrt(0.25 / 120000) = 0.28 percentage points of the truth at 95 %.
constexpr std::uint32_t AdviceRounds = 120000;
constexpr std::uint64_t AdviceSeed = 0x5749'5254'4f4c'4121ULL; // fixed: the same hand, the same advice

struct Advice {
    HandCards hand{};
    std::array<ChoiceOdds, KeepChoices> choices{}; // indexed by the keep mask
    std::array<KeepMask, KeepChoices> ranking{};   // best first: most money expected
    std::uint32_t rounds = 0;

    const ChoiceOdds& Best() const { return choices[ranking[0]]; }
    const ChoiceOdds& For(KeepMask keep) const { return choices[keep & KeepAll]; }
    // 0 for the best choice, 31 for the worst.
    int PlaceOf(KeepMask keep) const;
};

// How a player drew against the best, per złoty of stake: what a round's record keeps of it.
struct DrawVerdict {
    KeepMask kept = 0;
    KeepMask best = 0;
    double keptExpected = 0;
    double bestExpected = 0;
};
DrawVerdict Judge(const Advice& advice, KeepMask kept);

// Five cards of the 52, none twice.
bool IsWholeHand(const HandCards& hand);

// What Classify gives for these cards, looked up by their ranks and whether their suits agree
// (in a table Classify filled), without sorting them: the advisor classifies millions of hands.
HandClass ClassifyByRanks(const HandCards& hand);

// The exact class chances of all 32 choices. Throws std::invalid_argument for a hand that is
// not whole.
std::array<ClassCounts, KeepChoices> ExactClassChances(const HandCards& hand);

// The whole advice; none when `stop` was set on the way. The win, tie and loss chances come from
// `rounds` rounds dealt from the unseen cards by the advisor's own generator, the same rounds for
// every choice, so the differences between choices are sharper than each chance alone.
// Throws std::invalid_argument for a hand that is not whole.
std::optional<Advice> Advise(const HandCards& hand, const std::atomic<bool>* stop = nullptr,
                             std::uint32_t rounds = AdviceRounds, std::uint64_t seed = AdviceSeed);

} // namespace engine
