#pragma once

// What a screen reader hears of a card, from plain values: the card control announces changes
// of it and its accessible object reads it, and both take it from here rather than from each
// other. The name is the card in Polish ("dama kier", "as pik") while it shows its face and
// "karta zakryta" while it shows its back; the description says whose card it is and its place
// ("Twoja karta 3", "karta komputera 5"), with ", do wymiany" while it is marked to go at the
// exchange.

#include "engine/Engine.h"

#include <QString>

#include <array>
#include <cstdint>

// Whose card it is, as a screen reader is told; painting and clicks do not depend on it.
enum class TCardHolder : std::uint8_t { Nobody, Player, Computer };
enum class TCardSuit : std::uint8_t; // cards/Card.h

// Rank in the engine's numbering (1 = two ... 13 = ace) and suit; empty for a rank or suit
// out of range.
QString CardFaceName(int rank, TCardSuit suit);
QString CardAccessibleName(bool showsBack, int rank, TCardSuit suit);
// place: 1..5 from the left.
QString CardAccessibleDescription(TCardHolder holder, int place, bool exchangeMark);

// A hand as a player would say it: its class and what makes it, "dwie pary, ósemki i dziewiątki",
// "kolor, kier, najwyżej as". Cards that do not make the class given (a hand-edited record) are
// named one by one after it; a class out of range gives an empty text.
QString HandInWords(int category, const std::array<engine::Card, 5>& cards);
// A card as the player reads it in a text: the rank's figure or letter in the player's language
// and the suit's symbol ("10♥"; a queen is "D♠" in Polish, "Q♠" in English); empty for a rank
// or suit out of range. The log of rounds, the best hand and the like all write cards so.
QString CardShortName(int rank, TCardSuit suit);
// A hand so, its cards apart by spaces ("4♣ 5♣ 5♦ 5♠ 10♥"); empty when any card is out of range.
QString HandShortNames(const engine::HandCards& cards);
