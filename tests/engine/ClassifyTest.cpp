#include "engine/Engine.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace engine;
using enginetest::SetHand;

namespace {

struct Row {
    const char* name;
    HandCards cards;
    std::uint8_t category;
    std::int32_t value;
};

// Ranks: 1 two .. 9 ten, 10 jack, 11 queen, 12 king, 13 ace. Suits 0..3.
const Row Rows[] = {
    {"high card, ace high", {{{13, 0}, {2, 1}, {5, 2}, {7, 3}, {9, 0}}}, HighCard, 13},
    {"high card, nine high", {{{1, 0}, {2, 1}, {3, 2}, {4, 3}, {8, 0}}}, HighCard, 8},
    {"pair in 0-1", {{{5, 0}, {5, 1}, {7, 2}, {9, 3}, {11, 0}}}, OnePair, 5},
    {"pair in 1-2", {{{2, 0}, {5, 1}, {5, 2}, {9, 3}, {11, 0}}}, OnePair, 5},
    {"pair in 2-3", {{{2, 0}, {3, 1}, {7, 2}, {7, 3}, {11, 0}}}, OnePair, 7},
    {"pair in 3-4", {{{2, 0}, {3, 1}, {7, 2}, {13, 3}, {13, 0}}}, OnePair, 13},
    {"two pairs 0-1 2-3", {{{3, 0}, {3, 1}, {6, 2}, {6, 3}, {12, 0}}}, TwoPairs, 9},
    {"two pairs 0-1 3-4", {{{10, 0}, {10, 1}, {11, 2}, {1, 3}, {1, 0}}}, TwoPairs, 11},
    {"two pairs 1-2 3-4", {{{1, 0}, {5, 1}, {5, 2}, {6, 3}, {6, 0}}}, TwoPairs, 11},
    {"three in 0-2", {{{4, 0}, {4, 1}, {4, 2}, {9, 3}, {12, 0}}}, ThreeOfAKind, 4},
    {"three in 1-3", {{{1, 0}, {8, 1}, {8, 2}, {8, 3}, {12, 0}}}, ThreeOfAKind, 8},
    {"three in 2-4", {{{1, 0}, {2, 1}, {13, 2}, {13, 3}, {13, 0}}}, ThreeOfAKind, 13},
    {"straight two to six", {{{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 0}}}, Straight, 3},
    {"straight ten to ace", {{{9, 0}, {10, 1}, {11, 2}, {12, 3}, {13, 0}}}, Straight, 11},
    {"ace-low is no straight", {{{13, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 0}}}, HighCard, 13},
    {"ace-low same suit is a flush", {{{13, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}}, Flush, 13},
    {"flush", {{{1, 1}, {4, 1}, {6, 1}, {9, 1}, {11, 1}}}, Flush, 11},
    {"full house three low", {{{1, 0}, {1, 1}, {1, 2}, {12, 3}, {12, 0}}}, FullHouse, 13},
    {"full house three high", {{{10, 0}, {10, 1}, {11, 2}, {11, 3}, {11, 0}}}, FullHouse, 21},
    {"four twos", {{{1, 0}, {1, 1}, {1, 2}, {1, 3}, {12, 0}}}, FourOfAKind, -1},
    {"four aces", {{{5, 0}, {13, 1}, {13, 2}, {13, 3}, {13, 0}}}, FourOfAKind, 11},
    {"straight flush", {{{8, 3}, {9, 3}, {10, 3}, {11, 3}, {12, 3}}}, StraightFlush, 10},
    {"royal flush", {{{9, 1}, {10, 1}, {11, 1}, {12, 1}, {13, 1}}}, RoyalFlush, 11},
};

} // namespace

TEST(Classify, EveryCategoryAndValue)
{
    for (const Row& row : Rows) {
        SCOPED_TRACE(row.name);
        Hands[PlayerHand] = row.cards;
        ClassifyHand(PlayerHand);
        EXPECT_EQ(HandCategory[PlayerHand], row.category);
        EXPECT_EQ(HandValue[PlayerHand], row.value);
        for (int i = 0; i < HandSize - 1; ++i)
            EXPECT_LE(Hands[PlayerHand][i].rank, Hands[PlayerHand][i + 1].rank);
    }
}

TEST(Classify, NoValueIsLeftOverFromThePreviousHand)
{
    // A flush or straight flush after a hand of another category must not tie on history.
    for (const Row& before : Rows) {
        for (const Row& after : Rows) {
            Hands[ComputerHand] = before.cards;
            ClassifyHand(ComputerHand);
            Hands[ComputerHand] = after.cards;
            ClassifyHand(ComputerHand);
            ASSERT_EQ(HandValue[ComputerHand], after.value) << before.name << " then " << after.name;
        }
    }
}

TEST(Classify, KickersTakeNoPart)
{
    SetHand(ComputerHand, {{7, 0}, {7, 1}, {13, 2}, {2, 3}, {3, 0}});
    SetHand(PlayerHand, {{7, 2}, {7, 3}, {2, 1}, {1, 3}, {4, 0}});
    ClassifyHand(ComputerHand);
    ClassifyHand(PlayerHand);
    EXPECT_EQ(HandCategory[ComputerHand], HandCategory[PlayerHand]);
    EXPECT_EQ(HandValue[ComputerHand], HandValue[PlayerHand]);
}

TEST(Sort, FourPassesStableByRankOnly)
{
    SetHand(PlayerHand, {{9, 3}, {4, 0}, {9, 1}, {4, 2}, {1, 1}});
    SortHand(PlayerHand);
    const HandCards want{{{1, 1}, {4, 0}, {4, 2}, {9, 3}, {9, 1}}};
    EXPECT_EQ(Hands[PlayerHand], want);

    // Fully reversed is the worst case for four passes.
    SetHand(ComputerHand, {{13, 0}, {12, 1}, {11, 2}, {10, 3}, {9, 0}});
    SortHand(ComputerHand);
    const HandCards sorted{{{9, 0}, {10, 3}, {11, 2}, {12, 1}, {13, 0}}};
    EXPECT_EQ(Hands[ComputerHand], sorted);
}

TEST(Classify, CountsOverAllFiveCardHands)
{
    // The familiar table, moved by the ace-high-only rule: the four ace-low straight flushes
    // count as flushes and the 1,020 ace-low straights as high cards.
    const std::array<long, 10> want{1303560, 1098240, 123552, 54912, 9180, 5112, 3744, 624, 32, 4};
    std::array<long, 10> got{};
    HandCards& h = Hands[PlayerHand];
    for (int a = 1; a <= 48; ++a)
        for (int b = a + 1; b <= 49; ++b)
            for (int c = b + 1; c <= 50; ++c)
                for (int d = c + 1; d <= 51; ++d)
                    for (int e = d + 1; e <= 52; ++e) {
                        h = {DecodeCard(a), DecodeCard(b), DecodeCard(c), DecodeCard(d), DecodeCard(e)};
                        ClassifyHand(PlayerHand);
                        ++got[HandCategory[PlayerHand]];
                    }
    EXPECT_EQ(got, want);
}
