#pragma once

// What a screen reader hears of a card, from plain values: the card control announces changes
// of it and its accessible object reads it, and both take it from here rather than from each
// other. The name is the card in Polish ("dama kier", "as pik") while it shows its face and
// "karta zakryta" while it shows its back; the description says whose card it is and its place
// ("Twoja karta 3", "karta komputera 5"), with ", do wymiany" while it is marked to go at the
// exchange.

#include <QString>

#include <cstdint>

// Whose card it is, as a screen reader is told; painting and clicks do not depend on it.
enum class TCardHolder : std::uint8_t { Nobody, Player, Computer };
enum class TCardSuit : std::uint8_t; // cards/Card.h

// Rank in the engine's numbering (1 = two ... 13 = ace) and suit; empty for a rank or suit
// out of range.
QString CardFaceName(int rank, TCardSuit suit);
// The card as the player reads it in a list: rank and suit symbol, the face cards by the
// language's letters ("10♥", "D♠" in Polish, "Q♠" in English); empty as CardFaceName.
QString CardShortName(int rank, TCardSuit suit);
QString CardAccessibleName(bool showsBack, int rank, TCardSuit suit);
// place: 1..5 from the left.
QString CardAccessibleDescription(TCardHolder holder, int place, bool exchangeMark);
