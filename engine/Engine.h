#pragma once

// The game engine: the deck and its shuffle, dealing, ordering and classifying hands, the
// computer's draw, the player's replacement and the settlement of a round. Plain operations
// on module-level state that lives for the whole run; no Qt here.

#include "engine/Random.h"

#include <array>
#include <cstdint>
#include <string>

namespace engine {

using CardCode = std::int32_t; // 1..52

// A card as the hands keep it: rank 1 (two) .. 13 (ace), suit 0..3 (clubs, diamonds,
// hearts, spades). Suits are only ever compared for equality.
struct Card {
    std::int32_t rank = 0;
    std::int32_t suit = 0;
    friend bool operator==(const Card&, const Card&) = default;
};

constexpr std::uint8_t ComputerHand = 0;
constexpr std::uint8_t PlayerHand = 1;
constexpr int HandSize = 5;
constexpr int DeckSize = 52;
constexpr int ShuffleExchanges = 20000;

using HandCards = std::array<Card, HandSize>;

enum Category : std::uint8_t {
    HighCard = 0,
    OnePair = 1,
    TwoPairs = 2,
    ThreeOfAKind = 3,
    Straight = 4,
    Flush = 5,
    FullHouse = 6,
    FourOfAKind = 7,
    StraightFlush = 8,
    RoyalFlush = 9,
};

// Index 0 is unused so that the deck reads 1..52 as dealt.
extern std::array<CardCode, DeckSize + 1> Deck;
extern std::int32_t DeckPos; // 1-based index of the next card to deal
extern std::array<HandCards, 2> Hands;
extern std::array<std::uint8_t, 2> HandCategory;
extern std::array<std::int32_t, 2> HandValue;
extern std::string ResultMessage; // UTF-8, lines separated by a single '\r'

// Rank and suit of a card code.
constexpr Card DecodeCard(CardCode code)
{
    return Card{(code - 1) % 13 + 1, (code - 1) / 13};
}

void ShuffleDeck();
// Throws std::out_of_range when the deck is exhausted or hand/slot is out of range: the
// callers keep to 21 cards a deal, so this only ever fires on a fault, and loudly.
void DealCard(std::uint8_t hand, int slot);
void DealHand(std::uint8_t hand);

// The rules in a pure form, on hands passed in rather than on the module's state, so the
// advisor can play them on another thread; the operations below call them, one copy of each.
struct HandClass {
    std::uint8_t category = HighCard;
    std::int32_t value = 0;
};
// The exchange sort of SortHand on any hand.
void SortCards(HandCards& cards);
// The value of a hand of this category from its sorted ranks; `previous` for a category that
// has none (there is no such category now, but the value must never come from nowhere).
std::int32_t ValueOf(std::uint8_t category, std::int32_t r0, std::int32_t r1, std::int32_t r2, std::int32_t r3,
                     std::int32_t r4, std::int32_t previous);
// Sorts the cards and classifies them; `previous` as above.
HandClass Classify(HandCards& cards, std::int32_t previous = 0);
// The slots the computer replaces for a sorted, classified hand, in the order it takes them.
struct DrawSlots {
    std::array<std::uint8_t, HandSize> slot{};
    std::uint8_t count = 0;
};
DrawSlots ComputerDrawSlots(const HandCards& sorted, HandClass cls);

void SortHand(std::uint8_t hand);
void ComputeHandValue(std::uint8_t hand, std::int32_t r0, std::int32_t r1, std::int32_t r2, std::int32_t r3,
                      std::int32_t r4);
// Sorts the hand, then sets its HandCategory and HandValue.
void ClassifyHand(std::uint8_t hand);

// The computer's fixed draw; expects ComputerHand classified a moment before.
void ComputerDraw();
// The player's draw: every slot whose keep mark is clear takes the next card, in slot
// order, then the hand is sorted.
void Replace(const std::array<bool, HandSize>& keep);

// The fund of a new player, of a granted loan and after the reward.
inline constexpr std::int32_t StartingFund = 3000;

// The session values that a settlement reads and writes.
struct SessionValues {
    std::int32_t Wins = 0;
    std::int32_t Losses = 0;
    std::int32_t Fund = StartingFund;
    std::int32_t Stake = 0;
    bool BettingOpen = true;
};

enum class Outcome { PlayerByCategory, ComputerByCategory, PlayerByValue, ComputerByValue, Tie };

// Who wins a showdown of these two classified hands.
Outcome Settle(HandClass computer, HandClass player);

// Settles the round from both hands' classification: counts it, moves the stake while
// betting is open, and composes ResultMessage. Returns which row of the table applied.
Outcome Decision(SessionValues& session);

} // namespace engine
