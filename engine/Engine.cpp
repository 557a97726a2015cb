#include "engine/Engine.h"

#include <cstdio>
#include <limits>
#include <stdexcept>
#include <utility>

namespace engine {

std::array<CardCode, DeckSize + 1> Deck{};
std::int32_t DeckPos = 0;
std::array<HandCards, 2> Hands{};
std::array<std::uint8_t, 2> HandCategory{};
std::array<std::int32_t, 2> HandValue{};
std::string ResultMessage;

void ShuffleDeck()
{
    for (int i = 1; i <= DeckSize; ++i)
        Deck[i] = i;
    // The draw order (a, then b) and the count are fixed: a seed must replay the same deck.
    for (int n = 0; n < ShuffleExchanges; ++n) {
        const std::int32_t a = Random(DeckSize) + 1;
        const std::int32_t b = Random(DeckSize) + 1;
        if (a != b)
            std::swap(Deck[a], Deck[b]);
    }
    DeckPos = 1;
}

void DealCard(std::uint8_t hand, int slot)
{
    if (hand > PlayerHand || slot < 0 || slot >= HandSize)
        throw std::out_of_range("DealCard: no such hand or slot");
    if (DeckPos < 1 || DeckPos > DeckSize)
        throw std::out_of_range("DealCard: the deck is exhausted");
    Hands[hand][slot] = DecodeCard(Deck[DeckPos]);
    ++DeckPos;
}

void DealHand(std::uint8_t hand)
{
    for (int slot = 0; slot < HandSize; ++slot)
        DealCard(hand, slot);
}

void SortHand(std::uint8_t hand)
{
    HandCards& h = Hands.at(hand);
    // Four full passes, no early exit; equal ranks never swap, so suits keep their order.
    for (int pass = 0; pass < 4; ++pass)
        for (int i = 0; i < HandSize - 1; ++i)
            if (h[i].rank > h[i + 1].rank)
                std::swap(h[i], h[i + 1]);
}

void ComputeHandValue(std::uint8_t hand, std::int32_t r0, std::int32_t r1, std::int32_t r2, std::int32_t r3,
                      std::int32_t r4)
{
    std::int32_t& value = HandValue.at(hand);
    switch (HandCategory.at(hand)) {
    case HighCard:
    case Flush: // a flush ties on its highest card, like a high card
        value = r4;
        break;
    case OnePair:
        if (r0 == r1)
            value = r0;
        else if (r1 == r2)
            value = r1;
        else if (r2 == r3)
            value = r2;
        else
            value = r3;
        break;
    case TwoPairs:
        if (r0 == r1 && r2 == r3)
            value = r0 + r2;
        else if (r0 == r1 && r3 == r4)
            value = r0 + r3;
        else
            value = r1 + r3;
        break;
    case ThreeOfAKind:
        if (r0 == r1 && r1 == r2)
            value = r0;
        else if (r1 == r2 && r2 == r3)
            value = r1;
        else
            value = r2;
        break;
    case Straight:
    case StraightFlush: // valued as the straight it is, so no value is left over from before
    case RoyalFlush:
        value = r4 - 2;
        break;
    case FullHouse:
        value = r0 + r4;
        break;
    case FourOfAKind:
        value = (r0 == r1 && r1 == r2 && r2 == r3) ? r0 - 2 : r1 - 2;
        break;
    default:
        break;
    }
}

void ClassifyHand(std::uint8_t hand)
{
    SortHand(hand);
    const HandCards& h = Hands[hand];
    const std::int32_t r0 = h[0].rank, r1 = h[1].rank, r2 = h[2].rank, r3 = h[3].rank, r4 = h[4].rank;
    const std::int32_t s0 = h[0].suit, s1 = h[1].suit, s2 = h[2].suit, s3 = h[3].suit, s4 = h[4].suit;
    std::uint8_t& category = HandCategory[hand];
    category = HighCard;

    if (r0 == r1 || r1 == r2 || r2 == r3 || r3 == r4) {
        // Each test that holds overwrites the one before; all four are always made.
        category = OnePair;
        if ((r0 == r1 && r2 == r3) || (r0 == r1 && r3 == r4) || (r1 == r2 && r3 == r4))
            category = TwoPairs;
        if ((r0 == r1 && r1 == r2) || (r1 == r2 && r2 == r3) || (r2 == r3 && r3 == r4))
            category = ThreeOfAKind;
        if ((r0 == r1 && r2 == r3 && r3 == r4) || (r0 == r1 && r1 == r2 && r3 == r4))
            category = FullHouse;
        if ((r0 == r1 && r1 == r2 && r2 == r3) || (r1 == r2 && r2 == r3 && r3 == r4))
            category = FourOfAKind;
    } else {
        const bool sameSuit = s1 == s0 && s2 == s0 && s3 == s0 && s4 == s0;
        if (r1 == r0 + 1 && r2 == r1 + 1 && r3 == r2 + 1 && r4 == r3 + 1) {
            category = Straight;
            if (sameSuit) {
                category = StraightFlush;
                if (r4 == 13)
                    category = RoyalFlush;
            }
        } else if (sameSuit) {
            category = Flush;
        }
    }
    ComputeHandValue(hand, r0, r1, r2, r3, r4);
}

void ComputerDraw()
{
    const HandCards h = Hands[ComputerHand]; // the rules test the hand as it was classified
    const std::int32_t r0 = h[0].rank, r1 = h[1].rank, r2 = h[2].rank, r3 = h[3].rank, r4 = h[4].rank;
    const std::int32_t s0 = h[0].suit, s1 = h[1].suit, s2 = h[2].suit, s3 = h[3].suit, s4 = h[4].suit;
    auto replace = [](std::initializer_list<int> slots) {
        for (int slot : slots)
            DealCard(ComputerHand, slot);
    };

    switch (HandCategory[ComputerHand]) {
    case HighCard:
        // Four of a suit come before four in sequence.
        if (s0 == s1 && s1 == s2 && s2 == s3)
            replace({4});
        else if (s0 == s1 && s1 == s2 && s2 == s4)
            replace({3});
        else if (s0 == s1 && s1 == s3 && s3 == s4)
            replace({2});
        else if (s0 == s2 && s2 == s3 && s3 == s4)
            replace({1});
        else if (s1 == s2 && s2 == s3 && s3 == s4)
            replace({0});
        else if (r2 == r1 + 1 && r3 == r2 + 1 && r4 == r3 + 1)
            replace({0});
        else if (r1 == r0 + 1 && r2 == r1 + 1 && r3 == r2 + 1)
            replace({4});
        else if (HandValue[ComputerHand] >= 10)
            replace({3, 2, 1, 0});
        else
            DealHand(ComputerHand);
        break;
    case OnePair:
        if (r0 == r1)
            replace({2, 3});
        else if (r1 == r2)
            replace({0, 3});
        else if (r2 == r3)
            replace({0, 1});
        else
            replace({0, 1, 2});
        break;
    case TwoPairs:
        if (r0 == r1 && r2 == r3)
            replace({4});
        else if (r1 == r2 && r3 == r4)
            replace({0});
        else
            replace({2}); // pairs in 0-1 and 3-4: draw to the odd card in the middle
        break;
    case ThreeOfAKind:
        if (r0 == r1 && r1 == r2)
            replace({3, 4});
        else if (r1 == r2 && r2 == r3)
            replace({0, 4});
        else
            replace({0, 1});
        break;
    default:
        break; // a straight or better stands
    }
}

void Replace(const std::array<bool, HandSize>& keep)
{
    for (int slot = 0; slot < HandSize; ++slot)
        if (!keep[slot])
            DealCard(PlayerHand, slot);
    SortHand(PlayerHand);
}

namespace {

// A stored fund near the 32-bit limits must not wrap into a loss (or a win) of billions.
std::int32_t SaturatingAdd(std::int32_t a, std::int64_t b)
{
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    if (sum > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (sum < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

std::string WithStake(const char* format, std::int32_t stake)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, format, static_cast<int>(stake));
    return buffer;
}

constexpr const char* PlayerMoneyLineA = "Wygrałeś złotych polskich  %d";
constexpr const char* PlayerMoneyLineC = "Tym razem Wygrałeś zł. %d";
constexpr const char* ComputerMoneyLine = "Przykro mi ale Przegrałeś zł.  %d";

} // namespace

Outcome Decision(SessionValues& session)
{
    ResultMessage.clear();
    const std::uint8_t c0 = HandCategory[ComputerHand];
    const std::uint8_t c1 = HandCategory[PlayerHand];
    const std::int32_t v0 = HandValue[ComputerHand];
    const std::int32_t v1 = HandValue[PlayerHand];

    Outcome outcome;
    if (c0 < c1)
        outcome = Outcome::PlayerByCategory;
    else if (c0 > c1)
        outcome = Outcome::ComputerByCategory;
    else if (v0 < v1)
        outcome = Outcome::PlayerByValue;
    else if (v0 > v1)
        outcome = Outcome::ComputerByValue;
    else
        outcome = Outcome::Tie;

    const char* moneyLine = nullptr;
    std::int64_t fundChange = 0;
    switch (outcome) {
    case Outcome::PlayerByCategory:
        ResultMessage = "Gratulacje Wygrałeś !";
        session.Wins = SaturatingAdd(session.Wins, 1);
        moneyLine = PlayerMoneyLineA;
        fundChange = session.Stake;
        break;
    case Outcome::ComputerByCategory:
        ResultMessage = "Tym razem zwycięzcą został Komputer!";
        session.Losses = SaturatingAdd(session.Losses, 1);
        moneyLine = ComputerMoneyLine;
        fundChange = -static_cast<std::int64_t>(session.Stake);
        break;
    case Outcome::PlayerByValue:
        ResultMessage = "Gratulacje  - Wygrałeś!";
        session.Wins = SaturatingAdd(session.Wins, 1);
        moneyLine = PlayerMoneyLineC;
        fundChange = session.Stake;
        break;
    case Outcome::ComputerByValue:
        ResultMessage = "Tym razem wygrał komputer!";
        session.Losses = SaturatingAdd(session.Losses, 1);
        moneyLine = ComputerMoneyLine;
        fundChange = -static_cast<std::int64_t>(session.Stake);
        break;
    case Outcome::Tie:
        ResultMessage = "Obie strony czekały - rozdanie jest więc nierozstrzygnięte!";
        break;
    }

    if (moneyLine && session.BettingOpen) {
        ResultMessage += '\r';
        ResultMessage += WithStake(moneyLine, session.Stake);
        session.Fund = SaturatingAdd(session.Fund, fundChange);
    }
    return outcome;
}

} // namespace engine
