#pragma once

// The program's three kinds of modal box and the one place where an error that escapes an
// event handler is caught and shown. Qt must never see an exception cross its event loop.

#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace boxes {

// The application title: the caption of every message box.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

// A carriage return (code 13) inside a text is a line break.
QString WithLineBreaks(const QString& text);
// The error box's rule: a full stop is added when the last character's code is above '.'.
QString WithFullStop(const QString& message);

// Centred on the screen, application title as caption, the text, one "OK" button, no icon.
// `spokenWithIt`, when given, is what a screen reader says with the focused "OK" after the
// text; the box shows nothing more.
void ShowMessage(const QString& text, const QString& spokenWithIt = {});
// A question the player must answer: question icon, its own caption, "Tak" (the default) and
// "Nie"; Esc and the title bar's close do nothing. True only for "Tak".
bool AskYesNo(const QString& caption, const QString& text);
// A question whose safe answer is "Nie": question icon, the application title, "Tak" and "Nie"
// (the default, and Esc's). True only for "Tak".
bool AskNoByDefault(const QString& text);
// Stop icon, application title, the message with the full stop rule.
void ShowError(const QString& message);

// On Wayland, makes `window` transient for `owner`, so the compositor keeps it above its owner
// (nothing else can: a window there has no say in its place or stacking). X11's window managers
// keep an application's dialogs above it anyway, and there the box stays centred on the screen.
void KeepAbove(QWidget& window, const QWidget* owner);

// Runs a handler; an error that escapes it is shown in the error box and the rest of the
// handler is skipped. Returns false when it failed.
bool Guarded(const std::function<void()>& handler);

} // namespace boxes
