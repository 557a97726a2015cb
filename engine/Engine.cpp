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

void SortCards(HandCards& h)
{
    // Four full passes, no early exit; equal ranks never swap, so suits keep their order.
    for (int pass = 0; pass < 4; ++pass)
        for (int i = 0; i < HandSize - 1; ++i)
            if (h[i].rank > h[i + 1].rank)
                std::swap(h[i], h[i + 1]);
}

void SortHand(std::uint8_t hand)
{
    SortCards(Hands.at(hand));
}

std::int32_t ValueOf(std::uint8_t category, std::int32_t r0, std::int32_t r1, std::int32_t r2, std::int32_t r3,
                     std::int32_t r4, std::int32_t previous)
{
    switch (category) {
    case HighCard:
    case Flush: // a flush ties on its highest card, like a high card
        return r4;
    case OnePair:
        if (r0 == r1)
            return r0;
        if (r1 == r2)
            return r1;
        if (r2 == r3)
            return r2;
        return r3;
    case TwoPairs:
        if (r0 == r1 && r2 == r3)
            return r0 + r2;
        if (r0 == r1 && r3 == r4)
            return r0 + r3;
        return r1 + r3;
    case ThreeOfAKind:
        if (r0 == r1 && r1 == r2)
            return r0;
        if (r1 == r2 && r2 == r3)
            return r1;
        return r2;
    case Straight:
    case StraightFlush: // valued as the straight it is, so no value is left over from before
    case RoyalFlush:
        return r4 - 2;
    case FullHouse:
        return r0 + r4;
    case FourOfAKind:
        return (r0 == r1 && r1 == r2 && r2 == r3) ? r0 - 2 : r1 - 2;
    default:
        return previous;
    }
}

void ComputeHandValue(std::uint8_t hand, std::int32_t r0, std::int32_t r1, std::int32_t r2, std::int32_t r3,
                      std::int32_t r4)
{
    std::int32_t& value = HandValue.at(hand);
    value = ValueOf(HandCategory.at(hand), r0, r1, r2, r3, r4, value);
}

namespace {

std::uint8_t CategoryOf(const HandCards& h)
{
    const std::int32_t r0 = h[0].rank, r1 = h[1].rank, r2 = h[2].rank, r3 = h[3].rank, r4 = h[4].rank;
    const std::int32_t s0 = h[0].suit, s1 = h[1].suit, s2 = h[2].suit, s3 = h[3].suit, s4 = h[4].suit;
    std::uint8_t category = HighCard;
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
    return category;
}

} // namespace

HandClass Classify(HandCards& h, std::int32_t previous)
{
    SortCards(h);
    const std::uint8_t category = CategoryOf(h);
    return {category, ValueOf(category, h[0].rank, h[1].rank, h[2].rank, h[3].rank, h[4].rank, previous)};
}

void ClassifyHand(std::uint8_t hand)
{
    SortHand(hand);
    const HandCards& h = Hands[hand];
    HandCategory[hand] = CategoryOf(h);
    ComputeHandValue(hand, h[0].rank, h[1].rank, h[2].rank, h[3].rank, h[4].rank);
}

DrawSlots ComputerDrawSlots(const HandCards& h, HandClass cls)
{
    const std::int32_t r0 = h[0].rank, r1 = h[1].rank, r2 = h[2].rank, r3 = h[3].rank, r4 = h[4].rank;
    const std::int32_t s0 = h[0].suit, s1 = h[1].suit, s2 = h[2].suit, s3 = h[3].suit, s4 = h[4].suit;
    DrawSlots draw;
    auto replace = [&draw](std::initializer_list<std::uint8_t> slots) {
        for (std::uint8_t slot : slots)
            draw.slot[draw.count++] = slot;
    };

    switch (cls.category) {
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
        else if (cls.value >= 10)
            replace({3, 2, 1, 0});
        else
            replace({0, 1, 2, 3, 4});
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
    return draw;
}

void ComputerDraw()
{
    // The rules test the hand as it was classified, also after some slots were replaced.
    const DrawSlots draw =
        ComputerDrawSlots(Hands[ComputerHand], {HandCategory[ComputerHand], HandValue[ComputerHand]});
    for (std::uint8_t i = 0; i < draw.count; ++i)
        DealCard(ComputerHand, draw.slot[i]);
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

Outcome Settle(HandClass computer, HandClass player)
{
    if (computer.category < player.category)
        return Outcome::PlayerByCategory;
    if (computer.category > player.category)
        return Outcome::ComputerByCategory;
    if (computer.value < player.value)
        return Outcome::PlayerByValue;
    if (computer.value > player.value)
        return Outcome::ComputerByValue;
    return Outcome::Tie;
}

Outcome Decision(SessionValues& session)
{
    ResultMessage.clear();
    const std::uint8_t c0 = HandCategory[ComputerHand];
    const std::uint8_t c1 = HandCategory[PlayerHand];
    const std::int32_t v0 = HandValue[ComputerHand];
    const std::int32_t v1 = HandValue[PlayerHand];

    const Outcome outcome = Settle({c0, v0}, {c1, v1});

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
