#include "engine/Engine.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>
#include <vector>

using namespace engine;

namespace {

std::vector<CardCode> DeckAfterShuffle(std::uint32_t seed)
{
    Randomize(seed);
    ShuffleDeck();
    return {Deck.begin() + 1, Deck.end()};
}

} // namespace

TEST(Random, FollowsAnIndependentPcg32Model)
{
    // Output of an independent PCG32 model (same increment, seeded the same way).
    Randomize(0);
    const std::array<std::uint32_t, 4> want{0xe823a24e, 0x7a7ecbd9, 0x89fd6c06, 0xae646aa8};
    for (std::uint32_t w : want)
        EXPECT_EQ(static_cast<std::uint32_t>(Random(std::numeric_limits<std::int32_t>::max())),
                  w % static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()));
}

TEST(Random, StaysInRangeAndCoversEveryValue)
{
    Randomize(7);
    for (std::int32_t n : {1, 2, 3, 52, 1000}) {
        SCOPED_TRACE(n);
        std::vector<int> seen(n, 0);
        for (int i = 0; i < n * 200; ++i) {
            const std::int32_t r = Random(n);
            ASSERT_GE(r, 0);
            ASSERT_LT(r, n);
            ++seen[r];
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 0), 0);
    }
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
}

TEST(Random, IsRoughlyUniformOverTheDeck)
{
    Randomize(2024);
    constexpr int draws = 52 * 4000;
    std::array<int, 52> counts{};
    for (int i = 0; i < draws; ++i)
        ++counts[Random(52)];
    double chi2 = 0;
    for (int c : counts)
        chi2 += (c - 4000.0) * (c - 4000.0) / 4000.0;
    EXPECT_LT(chi2, 100.0); // 51 degrees of freedom; 100 is far beyond the 99.99th percentile
}

TEST(Random, ClockSourceDecidesTheSeed)
{
    SetClockSource([]() -> std::uint32_t { return 12345; });
    EXPECT_EQ(ClockSeed(), 12345U);
    RandomizeFromClock();
    Random(52); // whatever was drawn before the reseed must not matter
    RandomizeFromClock();
    const std::int32_t a = Random(1 << 30);
    Randomize(12345);
    EXPECT_EQ(Random(1 << 30), a);
    SetClockSource(nullptr);
    EXPECT_LT(ClockSeed(), 24U * 60 * 60 * 1000);
}

TEST(Shuffle, KnownDecksForPinnedSeeds)
{
    // Replayed with an independent model of the generator and the 20000 exchanges.
    const std::vector<CardCode> seed0{13, 10, 32, 2,  22, 41, 51, 6,  31, 5,  1,  16, 52, 9,  21, 50, 30, 18,
                                      36, 38, 25, 14, 40, 24, 48, 34, 8,  23, 35, 47, 4,  3,  11, 44, 15, 49,
                                      37, 28, 43, 17, 12, 20, 7,  29, 45, 33, 27, 19, 42, 46, 39, 26};
    const std::vector<CardCode> seed12345{14, 51, 25, 17, 19, 26, 23, 3,  1,  47, 7,  13, 46, 21, 37, 20, 50, 49,
                                          48, 4,  22, 28, 6,  24, 12, 45, 35, 44, 41, 40, 5,  18, 11, 15, 29, 39,
                                          38, 34, 8,  36, 42, 52, 32, 27, 16, 9,  2,  30, 33, 43, 31, 10};
    const std::vector<CardCode> lastMs{39, 16, 37, 27, 52, 19, 1,  46, 38, 49, 8,  24, 26, 48, 29, 13, 15, 44,
                                       11, 31, 18, 7,  17, 32, 42, 20, 45, 43, 51, 4,  12, 41, 23, 3,  36, 14,
                                       33, 47, 25, 40, 10, 6,  28, 30, 22, 21, 34, 9,  5,  50, 35, 2};
    EXPECT_EQ(DeckAfterShuffle(0), seed0);
    EXPECT_EQ(DeckAfterShuffle(12345), seed12345);
    EXPECT_EQ(DeckAfterShuffle(86399999), lastMs);
    EXPECT_EQ(DeckPos, 1);
}

TEST(Shuffle, IsAPermutationForManySeeds)
{
    std::vector<CardCode> identity(52);
    for (int i = 0; i < 52; ++i)
        identity[i] = i + 1;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        std::vector<CardCode> deck = DeckAfterShuffle(seed * 2654435761U);
        ASSERT_NE(deck, identity) << seed;
        std::sort(deck.begin(), deck.end());
        ASSERT_EQ(deck, identity) << seed;
    }
}

TEST(Shuffle, RefillsTheDeckEveryTime)
{
    std::fill(Deck.begin(), Deck.end(), 0);
    DeckPos = 40;
    EXPECT_EQ(DeckAfterShuffle(5), DeckAfterShuffle(5));
    EXPECT_EQ(DeckPos, 1);
}

TEST(Deal, DecodesCardCodes)
{
    struct Row {
        CardCode code;
        Card want;
    };
    const Row rows[] = {{1, {1, 0}},  {13, {13, 0}}, {14, {1, 1}}, {26, {13, 1}},
                        {27, {1, 2}}, {40, {1, 3}},  {52, {13, 3}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(DecodeCard(row.code), row.want);
        Deck[1] = row.code;
        DeckPos = 1;
        DealCard(PlayerHand, 2);
        EXPECT_EQ(Hands[PlayerHand][2], row.want);
        EXPECT_EQ(DeckPos, 2);
    }
}

TEST(Deal, ComputerTakesTheFirstFiveAndThePlayerTheNext)
{
    DeckAfterShuffle(99);
    DealHand(ComputerHand);
    DealHand(PlayerHand);
    EXPECT_EQ(DeckPos, 11);
    for (int slot = 0; slot < HandSize; ++slot) {
        EXPECT_EQ(Hands[ComputerHand][slot], DecodeCard(Deck[1 + slot]));
        EXPECT_EQ(Hands[PlayerHand][slot], DecodeCard(Deck[6 + slot]));
    }
}

TEST(Deal, ReplacesWhatTheSlotHeld)
{
    enginetest::StackDeck(30, {enginetest::Code(7, 2)});
    Hands[ComputerHand][4] = Card{13, 3};
    DealCard(ComputerHand, 4);
    EXPECT_EQ(Hands[ComputerHand][4], (Card{7, 2}));
}

TEST(Deal, RefusesToReadOutsideTheDeck)
{
    DeckAfterShuffle(1);
    DeckPos = 52;
    EXPECT_NO_THROW(DealCard(PlayerHand, 0));
    EXPECT_THROW(DealCard(PlayerHand, 0), std::out_of_range);
    DeckPos = 0;
    EXPECT_THROW(DealCard(PlayerHand, 0), std::out_of_range);
    DeckPos = 1;
    EXPECT_THROW(DealCard(2, 0), std::out_of_range);
    EXPECT_THROW(DealCard(PlayerHand, 5), std::out_of_range);
    EXPECT_THROW(DealCard(PlayerHand, -1), std::out_of_range);
    EXPECT_EQ(DeckPos, 1);
}
