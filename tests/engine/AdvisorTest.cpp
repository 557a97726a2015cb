#include "engine/Advisor.h"
#include "engine/Engine.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

using namespace engine;

namespace {

// C D H S = suits 0 1 2 3; ranks 1 two .. 13 ace. Every hand is given sorted, as the game shows it.
const HandCards PairOfTwos{{{1, 2}, {1, 1}, {6, 0}, {8, 3}, {12, 1}}}; // 2h 2d 7c 9s Kd
const HandCards FourHearts{{{2, 2}, {5, 2}, {7, 2}, {10, 2}, {12, 0}}};
const HandCards FoursAndTens{{{3, 0}, {3, 3}, {9, 1}, {9, 2}, {13, 0}}};
const HandCards ThreeSevens{{{2, 3}, {6, 0}, {6, 1}, {6, 2}, {11, 0}}};
const HandCards OpenStraight{{{4, 0}, {5, 1}, {6, 2}, {7, 3}, {13, 0}}};
const HandCards NothingSuited{{{1, 0}, {3, 0}, {4, 1}, {9, 0}, {12, 0}}}; // four clubs with gaps

// Every draw for every choice, card by card, classified one at a time.
std::array<ClassCounts, KeepChoices> SlowClassChances(const HandCards& hand)
{
    std::vector<Card> unseen;
    for (CardCode code = 1; code <= DeckSize; ++code)
        if (std::find(hand.begin(), hand.end(), DecodeCard(code)) == hand.end())
            unseen.push_back(DecodeCard(code));
    std::array<ClassCounts, KeepChoices> result;
    for (int mask = 0; mask < KeepChoices; ++mask) {
        std::vector<int> open;
        for (int slot = 0; slot < HandSize; ++slot)
            if (!(mask & (1 << slot)))
                open.push_back(slot);
        std::vector<int> pick(open.size());
        for (std::size_t i = 0; i < pick.size(); ++i)
            pick[i] = static_cast<int>(i);
        for (;;) {
            HandCards cards = hand;
            for (std::size_t i = 0; i < open.size(); ++i)
                cards[open[i]] = unseen[pick[i]];
            ++result[mask].count[Classify(cards).category];
            ++result[mask].draws;
            // The next combination of open.size() of the 47, in order.
            int i = static_cast<int>(pick.size()) - 1;
            while (i >= 0 && pick[i] == static_cast<int>(unseen.size() - pick.size()) + i)
                --i;
            if (i < 0)
                break;
            ++pick[i];
            for (std::size_t j = i + 1; j < pick.size(); ++j)
                pick[j] = pick[j - 1] + 1;
        }
    }
    return result;
}

TEST(Advisor, ClassChancesAreEveryDrawCounted)
{
    for (const HandCards& hand : {PairOfTwos, FourHearts, ThreeSevens, NothingSuited}) {
        const auto fast = ExactClassChances(hand);
        const auto slow = SlowClassChances(hand);
        for (int mask = 0; mask < KeepChoices; ++mask) {
            SCOPED_TRACE(mask);
            EXPECT_EQ(fast[mask].draws, slow[mask].draws);
            EXPECT_EQ(fast[mask].count, slow[mask].count);
        }
    }
}

TEST(Advisor, ClassifiesEveryHandAsTheGameDoes)
{
    long hands = 0;
    for (CardCode a = 1; a <= 48; ++a)
        for (CardCode b = a + 1; b <= 49; ++b)
            for (CardCode c = b + 1; c <= 50; ++c)
                for (CardCode d = c + 1; d <= 51; ++d)
                    for (CardCode e = d + 1; e <= 52; ++e, ++hands) {
                        HandCards cards{DecodeCard(e), DecodeCard(b), DecodeCard(d), DecodeCard(a), DecodeCard(c)};
                        const HandClass quick = ClassifyByRanks(cards);
                        const HandClass game = Classify(cards);
                        if (quick.category != game.category || quick.value != game.value)
                            FAIL() << "codes " << a << ' ' << b << ' ' << c << ' ' << d << ' ' << e;
                    }
    EXPECT_EQ(hands, 2598960);
}

// The well-known draw odds, as the improvement of one choice.
struct OddsRow {
    const char* name;
    HandCards hand;
    KeepMask keep;
    std::uint8_t atLeast; // the final class counted as an improvement
    double chance;
};

const OddsRow OddsRows[] = {
    {"a pair drawing three improves", PairOfTwos, 0b00011, TwoPairs, 4655.0 / 16215},
    {"four of one suit complete the flush", FourHearts, 0b01111, Flush, 9.0 / 47},
    {"two pairs drawing one fill", FoursAndTens, 0b01111, FullHouse, 4.0 / 47},
    {"three of a kind drawing two improve (10.4 %)", ThreeSevens, 0b01110, FullHouse, 112.0 / 1081},
    {"an open straight draw fills", OpenStraight, 0b01111, Straight, 8.0 / 47},
};

TEST(Advisor, KnownDrawOdds)
{
    for (const OddsRow& row : OddsRows) {
        SCOPED_TRACE(row.name);
        const ClassCounts counts = ExactClassChances(row.hand)[row.keep];
        double improved = 0;
        for (int c = row.atLeast; c <= RoyalFlush; ++c)
            improved += counts.Chance(c);
        EXPECT_NEAR(improved, row.chance, 0.0005);
    }
}

// Whole rounds through the game's own operations on its own state: the player's five cards at
// their places in a deck shuffled by another generator, the computer dealt and drawing first.
std::array<double, 3> PlayRounds(const HandCards& hand, KeepMask keep, int rounds, std::uint32_t seed)
{
    Randomize(seed);
    std::vector<CardCode> rest;
    for (CardCode code = 1; code <= DeckSize; ++code)
        if (std::find(hand.begin(), hand.end(), DecodeCard(code)) == hand.end())
            rest.push_back(code);
    std::array<double, 3> result{};
    SessionValues session;
    for (int n = 0; n < rounds; ++n) {
        for (int i = static_cast<int>(rest.size()) - 1; i > 0; --i)
            std::swap(rest[i], rest[Random(i + 1)]);
        for (int i = 0; i < 5; ++i)
            Deck[1 + i] = rest[i];
        for (int i = 0; i < 5; ++i)
            Deck[6 + i] = enginetest::Code(hand[i].rank, hand[i].suit);
        for (int i = 5; i < static_cast<int>(rest.size()); ++i)
            Deck[6 + i] = rest[i];
        DeckPos = 1;
        DealHand(ComputerHand);
        DealHand(PlayerHand);
        ClassifyHand(ComputerHand);
        ComputerDraw();
        ClassifyHand(PlayerHand);
        std::array<bool, HandSize> marks{};
        for (int slot = 0; slot < HandSize; ++slot)
            marks[slot] = (keep >> slot) & 1;
        Replace(marks);
        ClassifyHand(PlayerHand);
        ClassifyHand(ComputerHand);
        switch (Decision(session)) {
        case Outcome::PlayerByCategory:
        case Outcome::PlayerByValue:
            result[0] += 1.0 / rounds;
            break;
        case Outcome::Tie:
            result[1] += 1.0 / rounds;
            break;
        default:
            result[2] += 1.0 / rounds;
        }
    }
    return result;
}

TEST(Advisor, WinTieLossAgreeWithWholeRoundsPlayed)
{
    constexpr int Rounds = 200000;
    for (const HandCards& hand : {PairOfTwos, FourHearts}) {
        const Advice advice = *Advise(hand);
        for (KeepMask keep : {KeepMask{0b00011}, KeepMask{0b01111}, KeepMask{0}, KeepAll}) {
            SCOPED_TRACE(static_cast<int>(keep));
            const std::array<double, 3> played = PlayRounds(hand, keep, Rounds, 20240 + keep);
            const ChoiceOdds& odds = advice.For(keep);
            const std::array<double, 3> advised{odds.win, odds.tie, odds.loss};
            for (int i = 0; i < 3; ++i) {
                // Both are samples: 3.5 standard errors of their difference.
                const double p = played[i];
                const double error = 3.5 * std::sqrt(p * (1 - p) * (1.0 / Rounds + 1.0 / advice.rounds)) + 1e-4;
                EXPECT_NEAR(advised[i], p, error) << "outcome " << i;
            }
        }
    }
}

TEST(Advisor, RanksByMoneyAndJudgesADraw)
{
    const Advice advice = *Advise(PairOfTwos);
    for (int place = 1; place < KeepChoices; ++place)
        EXPECT_GE(advice.choices[advice.ranking[place - 1]].Expected(),
                  advice.choices[advice.ranking[place]].Expected());
    EXPECT_EQ(advice.PlaceOf(advice.Best().keep), 0);
    const ChoiceOdds& all = advice.For(KeepAll);
    EXPECT_NEAR(all.win + all.tie + all.loss, 1.0, 1e-9);
    EXPECT_EQ(all.classes.Chance(OnePair), 1.0);

    const DrawVerdict verdict = Judge(advice, 0);
    EXPECT_EQ(verdict.kept, 0);
    EXPECT_EQ(verdict.best, advice.Best().keep);
    EXPECT_EQ(verdict.keptExpected, advice.For(0).Expected());
    EXPECT_GT(verdict.bestExpected, verdict.keptExpected);
}

TEST(Advisor, LeavesTheGameAsItWas)
{
    Randomize(99);
    ShuffleDeck();
    const auto deck = Deck;
    Randomize(99);
    enginetest::SetHand(PlayerHand, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}});
    DeckPos = 7;
    const auto hands = Hands;
    ASSERT_TRUE(Advise(PairOfTwos, nullptr, 2000).has_value());
    EXPECT_EQ(Hands, hands);
    EXPECT_EQ(DeckPos, 7);
    ShuffleDeck();
    EXPECT_EQ(Deck, deck); // the same seed, the same cards
}

TEST(Advisor, StopsWhenAskedAndRefusesABrokenHand)
{
    std::atomic<bool> stop{true};
    EXPECT_FALSE(Advise(PairOfTwos, &stop).has_value());
    const HandCards twice{{{1, 2}, {1, 2}, {6, 0}, {8, 3}, {12, 1}}};
    const HandCards noRank{{{0, 2}, {1, 1}, {6, 0}, {8, 3}, {12, 1}}};
    const HandCards noSuit{{{1, 4}, {1, 1}, {6, 0}, {8, 3}, {12, 1}}};
    for (const HandCards& hand : {twice, noRank, noSuit})
        EXPECT_THROW(Advise(hand), std::invalid_argument);
    // A pair in one suit is no hand at all: the quick classification says so rather than search.
    EXPECT_THROW(ClassifyByRanks({{{1, 0}, {1, 0}, {3, 0}, {4, 0}, {5, 0}}}), std::logic_error);
}

} // namespace
