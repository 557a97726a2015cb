#pragma once

// The display the game's windows open on, and its loss, told as this program tells it: one line
// in the player's language on standard error and a status of its own, for X11 and Wayland alike,
// where Qt would abort with its English advice or end with its English line.

#include <QApplication>

#include <memory>

namespace program {

// Makes the application on the desktop's display, or ends the program with
// exit_status::NoDisplay when there is none to open. What the platform writes on standard error
// meanwhile is held back, and shown only when the display opened after all.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv);

// Run when the display goes away, before the program ends: saves what may be saved. Set by the
// main block once there is a game.
void SetDisplayLostHook(void (*hook)());

// Runs the hook once, says the display went away and ends the program with its status. Returns
// only to a report made while the hook runs.
void EndForLostDisplay();

} // namespace program
