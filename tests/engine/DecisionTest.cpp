#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace engine;

namespace {

void Classified(std::uint8_t c0, std::int32_t v0, std::uint8_t c1, std::int32_t v1)
{
    HandCategory = {c0, c1};
    HandValue = {v0, v1};
}

struct Row {
    const char* name;
    std::uint8_t c0;
    std::int32_t v0;
    std::uint8_t c1;
    std::int32_t v1;
    Outcome outcome;
    const char* headline;
    const char* moneyLine; // nullptr: no money line
    int wins, losses, fundChange;
};

const Row Rows[] = {
    {"A player by category", 0, 13, 1, 2, Outcome::PlayerByCategory, "Gratulacje Wygrałeś !",
     "Wygrałeś złotych polskich  50", 1, 0, +50},
    {"B computer by category", 6, 5, 2, 20, Outcome::ComputerByCategory, "Tym razem zwycięzcą został Komputer!",
     "Przykro mi ale Przegrałeś zł.  50", 0, 1, -50},
    {"C player by value", 1, 4, 1, 9, Outcome::PlayerByValue, "Gratulacje  - Wygrałeś!", "Tym razem Wygrałeś zł. 50", 1,
     0, +50},
    {"C signed values: four twos lose to four threes", 7, -1, 7, 0, Outcome::PlayerByValue, "Gratulacje  - Wygrałeś!",
     "Tym razem Wygrałeś zł. 50", 1, 0, +50},
    {"D computer by value", 3, 12, 3, 2, Outcome::ComputerByValue, "Tym razem wygrał komputer!",
     "Przykro mi ale Przegrałeś zł.  50", 0, 1, -50},
    {"E tie", 1, 6, 1, 6, Outcome::Tie, "Obie strony czekały - rozdanie jest więc nierozstrzygnięte!", nullptr, 0, 0,
     0},
};

} // namespace

TEST(Decision, EveryRowWithAndWithoutBetting)
{
    for (const Row& row : Rows) {
        for (bool betting : {true, false}) {
            SCOPED_TRACE(std::string(row.name) + (betting ? ", betting" : ", not betting"));
            SessionValues s{.Wins = 3, .Losses = 4, .Fund = 1000, .Stake = 50, .BettingOpen = betting};
            Classified(row.c0, row.v0, row.c1, row.v1);
            EXPECT_EQ(Decision(s), row.outcome);

            std::string want = row.headline;
            if (row.moneyLine && betting)
                want += std::string("\r") + row.moneyLine;
            EXPECT_EQ(ResultMessage, want);
            EXPECT_EQ(s.Wins, 3 + row.wins);
            EXPECT_EQ(s.Losses, 4 + row.losses);
            EXPECT_EQ(s.Fund, betting ? 1000 + row.fundChange : 1000);
            EXPECT_EQ(s.Stake, 50);
            EXPECT_EQ(s.BettingOpen, betting);
        }
    }
}

TEST(Decision, ASecondSettlementReplacesTheMessage)
{
    SessionValues s;
    s.Stake = 990;
    Classified(0, 5, 9, 11);
    Decision(s);
    Classified(1, 6, 1, 6);
    Decision(s);
    EXPECT_EQ(ResultMessage, "Obie strony czekały - rozdanie jest więc nierozstrzygnięte!");
    EXPECT_EQ(s.Fund, 3990);
}

TEST(Decision, MovesTheStakeItIsGivenEvenPastZero)
{
    // The stake can change between deal and draw; the settlement does not check it.
    SessionValues s{.Wins = 0, .Losses = 0, .Fund = 100, .Stake = 990, .BettingOpen = true};
    Classified(5, 10, 0, 13);
    Decision(s);
    EXPECT_EQ(s.Fund, -890);
    EXPECT_EQ(ResultMessage, "Tym razem zwycięzcą został Komputer!\rPrzykro mi ale Przegrałeś zł.  990");
}

TEST(Decision, FundAndCountersStopAtTheLimitsInsteadOfWrapping)
{
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();
    SessionValues s{.Wins = max, .Losses = 0, .Fund = max - 10, .Stake = 990, .BettingOpen = true};
    Classified(0, 5, 1, 2);
    Decision(s);
    EXPECT_EQ(s.Fund, max);
    EXPECT_EQ(s.Wins, max);

    SessionValues t{.Wins = 0, .Losses = max, .Fund = min + 10, .Stake = 990, .BettingOpen = true};
    Classified(1, 5, 0, 2);
    Decision(t);
    EXPECT_EQ(t.Fund, min);
    EXPECT_EQ(t.Losses, max);

    SessionValues u{.Wins = 0,
                    .Losses = 0,
                    .Fund = 100,
                    .Stake = min,
                    .BettingOpen = true}; // a hand-typed stake of the lowest number
    Classified(1, 5, 0, 2);
    Decision(u);
    EXPECT_EQ(u.Fund, max);
    EXPECT_EQ(ResultMessage, "Tym razem zwycięzcą został Komputer!\rPrzykro mi ale Przegrałeś zł.  -2147483648");
}
