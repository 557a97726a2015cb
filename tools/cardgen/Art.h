#pragma once

// The card set's own drawings: faces, backs and the palettes they are stored with.

#include "cards/CardSet.h"
#include "tools/cardgen/Canvas.h"

#include <QImage>
#include <QPainterPath>
#include <QString>

#include <string_view>
#include <vector>

namespace cardgen {

namespace ink {
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr QRgb Silver = 0xffc0c0c0;    // the corner colour of faces and four backs
constexpr QRgb LightBlue = 0xffa8d0f8; // the corner colour of the other eight backs
constexpr QRgb Red = 0xffd00010;
constexpr QRgb DarkRed = 0xff800018;
constexpr QRgb Gold = 0xfff8c818;
constexpr QRgb Blue = 0xff1c50c8;
constexpr QRgb Skin = 0xfffcd4a8;
constexpr QRgb Charcoal = 0xff3c3c48;
constexpr QRgb Green = 0xff18943c;
constexpr QRgb NavyBlue = 0xff101c70;
constexpr QRgb Orange = 0xfff88010;
constexpr QRgb SkyBlue = 0xff80c4f4;
constexpr QRgb SeaBlue = 0xff1070c8;
constexpr QRgb Sand = 0xfff0d890;
constexpr QRgb Brown = 0xff8c5420;
constexpr QRgb DarkGreen = 0xff0c5c24;
constexpr QRgb LeafGreen = 0xff40b040;
constexpr QRgb Yellow = 0xfff8e030;
constexpr QRgb Grey = 0xff808080;
constexpr QRgb Pink = 0xfff8a0b0;
constexpr QRgb Purple = 0xff6c3c9c;
constexpr QRgb Teal = 0xff20a0a0;
constexpr QRgb DarkGrey = 0xff404048;
} // namespace ink

// Faces and the backs STD1, STD2, FISHES1 and BEACH share the first palette; the other eight
// backs share the second.
const std::vector<QRgb>& FacePalette();
const std::vector<QRgb>& BackPalette();
bool UsesFacePalette(std::string_view name);

// The suit signs in a unit square, for aces, emblems and pictures of cards.
QPainterPath SuitShape(char suit);

Canvas DrawFace(char suit, int number);
Canvas DrawBack(std::string_view name);

// Gives every image the black outline with cut corners and the corner colour its set uses.
void DrawOutline(Canvas& canvas, QRgb corner);

// One image of the set in its stored form; throws for a name the set does not hold.
cards::Bitmap8 GenerateCard(std::string_view name);

// Writes "<name>.bmp" for all 64 images into the folder.
void WriteCardSet(const QString& folder);

// All 64 images enlarged `scale` times, faces by suit in rows, then the backs, with the
// corners taking the sheet's colour as the card control gives them the window's.
QImage ContactSheet(int scale);

} // namespace cardgen
