#pragma once

#include "engine/Engine.h"

#include <initializer_list>

namespace enginetest {

constexpr engine::CardCode Code(std::int32_t rank, std::int32_t suit)
{
    return suit * 13 + rank;
}

inline void SetHand(std::uint8_t hand, std::initializer_list<engine::Card> cards)
{
    int slot = 0;
    for (const engine::Card& c : cards)
        engine::Hands[hand][slot++] = c;
}

// Lays the given cards on the deck from position `from` on, so a test knows what is dealt next.
inline void StackDeck(int from, std::initializer_list<engine::CardCode> codes)
{
    int pos = from;
    for (engine::CardCode code : codes)
        engine::Deck[pos++] = code;
    engine::DeckPos = from;
}

} // namespace enginetest
