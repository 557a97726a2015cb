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
// "Czy chcesz kontynuować grę ?" with "Tak" (the default) and "Nie"; true only for "Tak".
bool AskContinue();
// Asked when the save at a closing failed: "Nie udało się zapisać wyników gry." and
// "Zakończyć grę bez zapisu?" with a question icon, the application title, "Tak" and "Nie"
// (the default); true only for "Tak".
bool AskEndWithoutSaving();
// Stop icon, application title, the message with the full stop rule.
void ShowError(const QString& message);

// Runs a handler; an error that escapes it is shown in the error box and the rest of the
// handler is skipped. Returns false when it failed.
bool Guarded(const std::function<void()>& handler);

} // namespace boxes
