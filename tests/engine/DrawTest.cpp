#include "engine/Engine.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace engine;
using enginetest::Code;
using enginetest::SetHand;
using enginetest::StackDeck;

namespace {

// Replacement cards are tens of the four suits and nines, none of which the test hands hold,
// so each one shows where it went.
const std::initializer_list<CardCode> Replacements{Code(9, 0), Code(9, 1), Code(9, 2), Code(9, 3), Code(8, 0)};

struct DrawRow {
    const char* name;
    HandCards hand;         // sorted
    std::vector<int> slots; // slots that take the replacements, in order
};

// C D H S = suits 0 1 2 3.
const DrawRow DrawRows[] = {
    {"four clubs, odd king", {{{1, 0}, {4, 0}, {8, 0}, {10, 0}, {12, 1}}}, {4}},
    {"four of a suit in 0,1,2,4", {{{1, 2}, {3, 2}, {5, 2}, {6, 1}, {12, 2}}}, {3}},
    {"four of a suit in 0,1,3,4", {{{1, 3}, {3, 3}, {5, 1}, {6, 3}, {12, 3}}}, {2}},
    {"four of a suit in 0,2,3,4", {{{1, 1}, {3, 0}, {5, 1}, {6, 1}, {12, 1}}}, {1}},
    {"four of a suit in 1..4", {{{1, 2}, {3, 0}, {5, 0}, {6, 0}, {12, 0}}}, {0}},
    {"sequence in 0..3", {{{3, 1}, {4, 0}, {5, 2}, {6, 3}, {11, 1}}}, {4}},
    {"sequence in 1..4", {{{2, 1}, {10, 0}, {11, 2}, {12, 3}, {13, 1}}}, {0}},
    {"suit beats sequence", {{{3, 0}, {4, 0}, {5, 0}, {6, 0}, {12, 1}}}, {4}},
    {"jack high keeps the jack", {{{1, 1}, {3, 0}, {6, 2}, {8, 3}, {10, 1}}}, {3, 2, 1, 0}},
    {"ten high draws five", {{{1, 1}, {3, 0}, {6, 2}, {8, 3}, {9, 1}}}, {0, 1, 2, 3, 4}},
    {"pair in 0-1", {{{1, 1}, {1, 0}, {6, 2}, {8, 3}, {11, 1}}}, {2, 3}},
    {"pair in 1-2", {{{1, 1}, {6, 0}, {6, 2}, {8, 3}, {11, 1}}}, {0, 3}},
    {"pair in 2-3", {{{1, 1}, {3, 0}, {6, 2}, {6, 3}, {11, 1}}}, {0, 1}},
    {"pair of aces in 3-4", {{{1, 1}, {3, 0}, {6, 2}, {13, 3}, {13, 1}}}, {0, 1, 2}},
    {"two pairs, odd card high", {{{1, 1}, {1, 0}, {6, 2}, {6, 3}, {11, 1}}}, {4}},
    {"two pairs, odd card low", {{{1, 1}, {6, 0}, {6, 2}, {11, 3}, {11, 1}}}, {0}},
    {"two pairs, odd card between", {{{1, 1}, {1, 0}, {6, 2}, {11, 3}, {11, 1}}}, {2}},
    {"three low", {{{2, 1}, {2, 0}, {2, 2}, {7, 3}, {11, 1}}}, {3, 4}},
    {"three middle", {{{1, 1}, {7, 0}, {7, 2}, {7, 3}, {11, 1}}}, {0, 4}},
    {"three high", {{{1, 1}, {3, 0}, {7, 2}, {7, 3}, {7, 1}}}, {0, 1}},
    {"straight stands", {{{2, 1}, {3, 0}, {4, 2}, {5, 3}, {6, 1}}}, {}},
    {"flush stands", {{{1, 2}, {3, 2}, {5, 2}, {7, 2}, {12, 2}}}, {}},
    {"full house stands", {{{1, 2}, {1, 0}, {5, 2}, {5, 1}, {5, 3}}}, {}},
    {"four of a kind stands", {{{1, 2}, {1, 0}, {1, 1}, {1, 3}, {5, 3}}}, {}},
    {"straight flush stands", {{{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}}}, {}},
};

} // namespace

TEST(ComputerDraw, EveryRuleReplacesItsSlotsInItsOrder)
{
    for (const DrawRow& row : DrawRows) {
        SCOPED_TRACE(row.name);
        Hands[ComputerHand] = row.hand;
        ClassifyHand(ComputerHand);
        ASSERT_EQ(Hands[ComputerHand], row.hand) << "test hand must be given sorted";
        StackDeck(11, Replacements);

        ComputerDraw();

        HandCards want = row.hand;
        int next = 11;
        for (int slot : row.slots)
            want[slot] = DecodeCard(Deck[next++]);
        EXPECT_EQ(Hands[ComputerHand], want);
        EXPECT_EQ(DeckPos, 11 + static_cast<int>(row.slots.size()));
    }
}

TEST(ComputerDraw, NeverLooksAtThePlayersHand)
{
    SetHand(ComputerHand, {{1, 1}, {3, 0}, {6, 2}, {8, 3}, {10, 1}});
    ClassifyHand(ComputerHand);
    const HandCards computer = Hands[ComputerHand];
    for (const HandCards& player : {HandCards{{{13, 0}, {13, 1}, {13, 2}, {13, 3}, {12, 0}}},
                                    HandCards{{{1, 0}, {2, 1}, {3, 2}, {4, 3}, {6, 0}}}}) {
        Hands[ComputerHand] = computer;
        Hands[PlayerHand] = player;
        StackDeck(11, Replacements);
        ComputerDraw();
        EXPECT_EQ(DeckPos, 15);
        EXPECT_EQ(Hands[ComputerHand][4], (Card{10, 1}));
    }
}

TEST(Replace, UnkeptSlotsTakeTheNextCardsInSlotOrderThenSort)
{
    SetHand(PlayerHand, {{2, 0}, {4, 1}, {6, 2}, {8, 3}, {12, 0}});
    StackDeck(14, {Code(13, 3), Code(1, 2)});
    Replace({true, false, true, false, true}); // marks 2 and 4 cleared

    // The ace went to slot 1 and the two to slot 3 before the sort.
    const HandCards want{{{1, 2}, {2, 0}, {6, 2}, {12, 0}, {13, 3}}};
    EXPECT_EQ(Hands[PlayerHand], want);
    EXPECT_EQ(DeckPos, 16);
}

TEST(Replace, AllKeptTakesNothingAndStillSorts)
{
    SetHand(PlayerHand, {{12, 0}, {4, 1}, {6, 2}, {8, 3}, {2, 0}});
    StackDeck(11, {Code(13, 3)});
    Replace({true, true, true, true, true});
    const HandCards want{{{2, 0}, {4, 1}, {6, 2}, {8, 3}, {12, 0}}};
    EXPECT_EQ(Hands[PlayerHand], want);
    EXPECT_EQ(DeckPos, 11);
}

TEST(Replace, NoneKeptIsAWholeNewHand)
{
    SetHand(PlayerHand, {{12, 0}, {4, 1}, {6, 2}, {8, 3}, {2, 0}});
    StackDeck(11, {Code(5, 0), Code(4, 0), Code(3, 0), Code(2, 0), Code(1, 0)});
    Replace({false, false, false, false, false});
    const HandCards want{{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}};
    EXPECT_EQ(Hands[PlayerHand], want);
    EXPECT_EQ(DeckPos, 16);
}

TEST(Deal, AWholeDealNeverPassesCardTwentyOne)
{
    // Worst case: the computer draws five and the player replaces five.
    for (std::uint32_t seed = 0; seed < 2000; ++seed) {
        Randomize(seed);
        ShuffleDeck();
        DealHand(ComputerHand);
        DealHand(PlayerHand);
        ClassifyHand(ComputerHand);
        ComputerDraw();
        ClassifyHand(PlayerHand);
        Replace({false, false, false, false, false});
        ASSERT_LE(DeckPos, 21);
    }
}
