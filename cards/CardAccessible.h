#pragma once

// How a card reads in the accessibility tree, for screen readers: its name and description
// (cards/CardNames.h), and for the player's cards the role of a button whose press action does
// what a mouse click does.

// Lets Qt build every card's accessible object from here. Called once at start, before any
// card is made (by the program's main and the window tests' main).
void InstallCardAccessibility();
