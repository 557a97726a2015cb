#pragma once

// How a card reads in the accessibility tree, for screen readers. Its name is the card in
// Polish ("dama kier", "as pik") while it shows its face and "karta zakryta" while it shows
// its back; its description says whose card it is and its place ("Twoja karta 3",
// "karta komputera 5"), with ", do wymiany" while it is marked to go at the exchange.
// The player's cards are buttons: their press action does what a mouse click does.

#include "cards/Card.h"

#include <QString>

class QAccessibleEvent;

#include <cstdint>

// Rank in the engine's numbering (1 = two ... 13 = ace) and suit; empty for a rank or suit
// out of range.
QString CardFaceName(int rank, TCardSuit suit);
QString CardAccessibleName(const TCard& card);
QString CardAccessibleDescription(const TCard& card);

// Lets Qt build every card's accessible object from here; the card calls it itself.
void InstallCardAccessibility();

// Where the cards send their name and description changes: QAccessible::updateAccessibility,
// unless a test listens in its place (Qt passes nothing on while no assistive tool is active,
// and offscreen none ever is). nullptr restores Qt's.
using CardAnnouncer = void (*)(QAccessibleEvent* event);
void SetCardAnnouncer(CardAnnouncer announcer);
void AnnounceCardChange(QAccessibleEvent* event);
