#pragma once

#include <QImage>
#include <QString>

#include <array>

// The reward picture's size: the window's picture box is laid out around it.
inline constexpr int RewardWidth = 465;
inline constexpr int RewardHeight = 282;

// Font families, loaded from files by the caller so the drawing never depends on which fonts
// the system would pick.
struct RewardFonts {
    QString serif;       // bold
    QString serifItalic; // bold italic
    QString sans;        // bold
};

// Draws the congratulation card: headline and lines at the top and bottom, a framed portrait of
// a cheerful card player in the middle, a fan of cards and stacks of coins beside it.
// The picture's words, one set per language.
struct RewardWords {
    const char* headline;
    const char* fundLine;
    const char* praise;
    const char* closing;
    std::array<const char*, 5> ranks; // the fanned royal flush's corners, ten to ace
};
inline constexpr RewardWords PolishWords{"Gratulacje!",
                                         "Fundusz podwojony: 6000 zł!",
                                         "Mistrzowska gra!",
                                         "Z 3000 zł wyrosło 6000 zł. Bank chyli czoła!",
                                         {"10", "W", "D", "K", "A"}};
inline constexpr RewardWords EnglishWords{"Congratulations!",
                                          "Your fund has doubled: 6000 zł!",
                                          "Masterly play!",
                                          "3000 zł grew into 6000 zł. The bank tips its hat!",
                                          {"10", "J", "Q", "K", "A"}};

QImage DrawRewardCard(const RewardFonts& fonts, const RewardWords& words = PolishWords);
