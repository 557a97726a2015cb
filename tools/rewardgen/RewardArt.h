#pragma once

#include <QImage>
#include <QString>

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
QImage DrawRewardCard(const RewardFonts& fonts);
