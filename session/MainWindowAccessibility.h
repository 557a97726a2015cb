#pragma once

// What a screen reader hears of the main window beyond the controls' own accessible objects:
// the stake and fund fields read as numbers, the top panel as a part of the window, the hand
// told at the deal and both hands told with the result.

#include <QString>

#include <array>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;

namespace spoken {

// The field reads as a spin button whose value is its number, so a screen reader says the
// number whole when the field takes the focus and again at every change.
void ReadAsNumber(QLineEdit* field);
// A frame inside the window reads as a panel: a screen reader that meets a frame takes it for
// a window of its own and stops its review there.
void ReadAsPanel(QFrame* panel);

// "Twoje karty: ..." with the player's five cards from the left, from the engine's hands.
QString HandWords();
// Both hands from the left, each with its class: "Komputer: para: ... Ty: kolor: ...".
QString ShowdownWords();
// The hand becomes the description of the button that takes the focus after the deal, so the
// screen reader says it once with the button and no key is needed to hear it.
void TellTheHand(QPushButton* focusedNext);
// At the draw the keep boxes are checked again as the new cards are laid; a screen reader
// would say "checked" of the focused box, as if the exchange were undone. Those checks are not
// told, up to the next move of the focus (the result box's); the draw button stops telling
// the old hand.
void HushTheKeepBoxes(QPushButton* drawButton, const std::array<QCheckBox*, 5>& boxes);

} // namespace spoken
