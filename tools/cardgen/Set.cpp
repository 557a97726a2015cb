#include "tools/cardgen/Art.h"

#include <QDir>
#include <QFile>
#include <QPainter>

#include <set>
#include <stdexcept>

namespace cardgen {

const std::vector<QRgb>& FacePalette()
{
    static const std::vector<QRgb> palette{ink::Black,    ink::White,     ink::Silver,  ink::Red,      ink::DarkRed,
                                           ink::Gold,     ink::Blue,      ink::Skin,    ink::Charcoal, ink::Green,
                                           ink::NavyBlue, ink::Orange,    ink::SkyBlue, ink::SeaBlue,  ink::Sand,
                                           ink::Brown,    ink::DarkGreen, ink::Yellow};
    return palette;
}

const std::vector<QRgb>& BackPalette()
{
    static const std::vector<QRgb> palette{ink::Black,     ink::LightBlue, ink::White,  ink::Red,      ink::DarkRed,
                                           ink::Yellow,    ink::Orange,    ink::Blue,   ink::NavyBlue, ink::Green,
                                           ink::LeafGreen, ink::DarkGreen, ink::Grey,   ink::DarkGrey, ink::Skin,
                                           ink::Sand,      ink::Brown,     ink::Purple, ink::Teal,     ink::Pink};
    return palette;
}

bool UsesFacePalette(std::string_view name)
{
    return name == "STD1" || name == "STD2" || name == "FISHES1" || name == "BEACH"
        || (!name.empty() && cards::SuitLetters.find(name.front()) != std::string_view::npos && name.size() <= 3
            && name.find_first_not_of("0123456789", 1) == std::string_view::npos);
}

cards::Bitmap8 GenerateCard(std::string_view name)
{
    if (!cards::IsCardName(name))
        throw std::invalid_argument("no card image named " + std::string(name));
    const bool face = name.size() <= 3 && cards::SuitLetters.find(name.front()) != std::string_view::npos
        && name.find_first_not_of("0123456789", 1) == std::string_view::npos;
    const Canvas canvas = face ? DrawFace(name.front(), std::stoi(std::string(name.substr(1)))) : DrawBack(name);
    const cards::Bitmap8 image = Reduce(canvas, UsesFacePalette(name) ? FacePalette() : BackPalette());
    const std::set<std::uint8_t> used(image.indices.begin(), image.indices.end());
    if (used.size() > static_cast<std::size_t>(cards::MaxColoursPerImage))
        throw std::logic_error(std::string(name) + " uses " + std::to_string(used.size()) + " colours");
    return image;
}

void WriteCardSet(const QString& folder)
{
    QDir().mkpath(folder);
    for (const std::string& name : cards::CardNames()) {
        const std::vector<std::uint8_t> bytes = cards::EncodeBmp(GenerateCard(name));
        QFile file(QDir(folder).filePath(QString::fromStdString(name) + ".bmp"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()))
                != static_cast<qint64>(bytes.size()))
            throw std::runtime_error("cannot write " + file.fileName().toStdString());
    }
}

QImage ContactSheet(int scale)
{
    constexpr QRgb Felt = 0xff1e6e3c;
    const int gap = 4;
    const int cellW = cards::CardWidth + gap;
    const int cellH = cards::CardHeight + gap;
    QImage sheet((13 * cellW + gap) * scale, (5 * cellH + gap) * scale, QImage::Format_RGB32);
    sheet.fill(Felt);
    QPainter painter(&sheet);
    const auto& names = cards::CardNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const cards::Bitmap8 image = GenerateCard(names[i]);
        QImage card(image.width, image.height, QImage::Format_RGB32);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                card.setPixel(x, y, image.Colour(x, y));
        auto* pixels = reinterpret_cast<std::uint32_t*>(card.bits());
        const std::ptrdiff_t stride = card.bytesPerLine() / 4;
        for (QPoint corner : {QPoint(0, 0), QPoint(70, 0), QPoint(0, 95), QPoint(70, 95)})
            cards::FloodFillBoundedByBlack(pixels, card.width(), card.height(), stride, corner.x(), corner.y(), Felt);
        const int column = static_cast<int>(i < 52 ? i % 13 : i - 52);
        const int row = static_cast<int>(i < 52 ? i / 13 : 4);
        painter.drawImage(QPoint((gap + column * cellW) * scale, (gap + row * cellH) * scale),
                          card.scaled(card.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    }
    return sheet;
}

} // namespace cardgen
