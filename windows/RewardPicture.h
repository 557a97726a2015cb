#pragma once

#include <QImage>
#include <QString>

class QByteArray;

// The reward window's picture, built into the program as the resource below.
inline constexpr char RewardPictureResource[] = ":/reward/reward.jpg";

// Decodes a JPEG stream through libjpeg; a null image if the stream is damaged or unsupported.
QImage DecodeJpegToImage(const QByteArray& stream);

// Reads and decodes the built-in picture; a null image if it is missing or cannot be decoded,
// so the window shows its plain background and the game goes on.
QImage LoadRewardPicture(const QString& path = QString::fromLatin1(RewardPictureResource));
