#pragma once

// The words drawn on the reward picture, in a context of their own. They are never shown as
// text: rewardgen draws each translation's picture with them when the game is built, so a
// translator changes the picture by translating these like any other text.

#include <QtGlobal>

#include <array>

namespace reward_words {

inline constexpr char Context[] = "Nagroda";

inline constexpr const char* Headline = QT_TRANSLATE_NOOP("Nagroda", "Gratulacje!");
inline constexpr const char* FundLine = QT_TRANSLATE_NOOP("Nagroda", "Fundusz podwojony: 6000 zł!");
inline constexpr const char* Praise = QT_TRANSLATE_NOOP("Nagroda", "Mistrzowska gra!");
inline constexpr const char* Closing = QT_TRANSLATE_NOOP("Nagroda", "Z 3000 zł wyrosło 6000 zł. Bank chyli czoła!");
// The corners of the fanned royal flush, ten to ace.
inline constexpr std::array<const char*, 5> Ranks{QT_TRANSLATE_NOOP("Nagroda", "10"), QT_TRANSLATE_NOOP("Nagroda", "W"),
                                                  QT_TRANSLATE_NOOP("Nagroda", "D"), QT_TRANSLATE_NOOP("Nagroda", "K"),
                                                  QT_TRANSLATE_NOOP("Nagroda", "A")};

} // namespace reward_words
