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

// The picture's words in one language: headline, fund line, praise, closing line and the corners
// of the fanned royal flush, ten to ace.
struct RewardWords {
    QString headline;
    QString fundLine;
    QString praise;
    QString closing;
    std::array<QString, 5> ranks;
};

// Draws the congratulation card: headline and lines at the top and bottom, a framed portrait of
// a cheerful card player in the middle, a fan of cards and stacks of coins beside it.
QImage DrawRewardCard(const RewardFonts& fonts, const RewardWords& words);
