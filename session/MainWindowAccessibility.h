#pragma once

// What a screen reader hears of the main window beyond the controls' own accessible objects:
// the stake and fund fields read as numbers, the top panel as a part of the window, the hand
// told at the deal and both hands told with the result.

#include <QString>

class QFrame;
class QLineEdit;
class QPushButton;
class QWidget;

namespace spoken {

// The field reads as a spin button whose value is its number (a read-only field as read-only
// text), so a screen reader says the number whole when the field takes the focus and again at
// every change.
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
// A screen reader takes news in the order it gets them, and one box's worth of changes to the
// cards, keep boxes, status bar and fund kept a loaded one busy for seconds before it reached the
// box. From now until a window other than `window` has the focus, what `window`'s controls
// change is held back, and then told once per control and kind, after the box's own news.
// Focus and activation pass at once. (From the first field made to read as a number on, every
// event takes this road; a field's selection is told only after its focus, not before its name.)
void HoldUntilABoxHasTheFocus(QWidget* window);
// Two boxes in a row (the result, then the question): when the first closes, `window` takes the
// focus back for a moment, and a screen reader busy with that news missed the second box's
// words. From now until a second box has the focus, `window`'s focus and activation are not
// told; if no second box comes within a few seconds, its focus is told then. A null window
// ends the keeping at once.
void KeepTheFocusForTheNextBox(QWidget* window);

} // namespace spoken
