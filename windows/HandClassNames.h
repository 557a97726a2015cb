#pragma once

// The hand classes by name, in the engine's order (high card 0 … royal flush 9): the screen
// reader's words for a hand and the statistics window's rows.

#include <QtGlobal>

#include <array>

namespace texts {

constexpr std::array<const char*, 10> CategoryNames{
    QT_TRANSLATE_NOOP("Wirtola", "wysoka karta"), QT_TRANSLATE_NOOP("Wirtola", "para"),
    QT_TRANSLATE_NOOP("Wirtola", "dwie pary"),    QT_TRANSLATE_NOOP("Wirtola", "trójka"),
    QT_TRANSLATE_NOOP("Wirtola", "strit"),        QT_TRANSLATE_NOOP("Wirtola", "kolor"),
    QT_TRANSLATE_NOOP("Wirtola", "full"),         QT_TRANSLATE_NOOP("Wirtola", "kareta"),
    QT_TRANSLATE_NOOP("Wirtola", "poker"),        QT_TRANSLATE_NOOP("Wirtola", "poker królewski")};

} // namespace texts
