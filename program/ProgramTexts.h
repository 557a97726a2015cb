#pragma once

// The texts the program shows at its start and end, beside the main window's: the boxes' title,
// and the two refusals to start. A carriage return is a line break; %1 is filled in where the
// text is used. The command line's and the display's own texts stand beside their code.

#include <QtGlobal>

namespace texts {

constexpr const char* ApplicationTitle = QT_TRANSLATE_NOOP("Wirtola", "Wirtola");
constexpr const char* SecondGame = QT_TRANSLATE_NOOP(
    "Wirtola", "Wirtola jest już uruchomiona z tym samym plikiem wyników.\rZakończ tamtą grę, zanim zaczniesz nową.");
constexpr const char* LockRefused = QT_TRANSLATE_NOOP(
    "Wirtola",
    "Plik blokady wyników gry jest dowiązaniem albo należy do innego użytkownika:\r%1\rUsuń go, zanim zaczniesz grę.");

} // namespace texts
