#include "windows/RewardPicture.h"

#include "windows/JpegPicture.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>

QImage DecodeJpegToImage(const QByteArray& stream)
{
    const auto picture =
        DecodeJpeg(reinterpret_cast<const std::uint8_t*>(stream.constData()), static_cast<std::size_t>(stream.size()));
    if (!picture)
        return {};
    QImage image(picture->width, picture->height, QImage::Format_RGB888);
    if (image.isNull())
        return {};
    const qsizetype rowBytes = qsizetype(picture->width) * 3;
    for (int y = 0; y < picture->height; ++y)
        std::copy_n(picture->rgb.data() + y * rowBytes, rowBytes, image.scanLine(y));
    return image;
}

QImage LoadRewardPicture(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return DecodeJpegToImage(file.readAll());
}
