#include "cards/CardSet.h"
#include "cards/Card.h"
#include "tools/cardgen/Art.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QResource>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <stdexcept>

namespace {

constexpr QRgb Silver = 0xffc0c0c0;
constexpr QRgb Black = 0xff000000;

std::vector<std::uint8_t> Bytes(const QByteArray& data)
{
    return {data.begin(), data.end()};
}

QByteArray BuiltIn(const std::string& name)
{
    return QResource(QString::fromStdString(":/cards/" + name + ".bmp")).uncompressedData();
}

bool SharesFacePalette(const std::string& name)
{
    return name.size() <= 3 || name == "STD1" || name == "STD2" || name == "FISHES1" || name == "BEACH";
}

TEST(CardSet, NamesOutsideTheSetAreNotFound)
{
    for (const char* name : {"C0", "C14", "X1", "", "c1", "H01", "S13 ", "STD13", "std1", "../cards/C1", "C1.bmp"}) {
        SCOPED_TRACE(name);
        try {
            LoadCardImage(name);
            ADD_FAILURE() << "found";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Resource ") + name + " not found");
        }
    }
}

TEST(CardSet, EveryNameLoadsAsA71By96PaletteImageWithTheCutCornerOutline)
{
    ASSERT_EQ(cards::CardNames().size(), 64U);
    for (const std::string& name : cards::CardNames()) {
        SCOPED_TRACE(name);
        const QImage image = LoadCardImage(QString::fromStdString(name));
        EXPECT_EQ(image.size(), QSize(71, 96));
        EXPECT_EQ(image.format(), QImage::Format_Indexed8);
        EXPECT_EQ(image.colorCount(), 256);
        const QRgb corner = SharesFacePalette(name) ? Silver : image.pixel(0, 0);
        EXPECT_NE(corner & 0xffffffU, 0U);
        for (int x = 0; x < 71; ++x)
            for (int y = 0; y < 96; ++y) {
                const int cx = std::min(x, 70 - x);
                const int cy = std::min(y, 95 - y);
                const bool onEdge = cx == 0 || cy == 0;
                const bool outside = cx + cy <= 1 && cx <= 1 && cy <= 1;
                const bool diagonal = cx == 1 && cy == 1;
                if (outside) {
                    EXPECT_EQ(image.pixel(x, y), corner) << x << "," << y;
                } else if (onEdge || diagonal) {
                    EXPECT_EQ(image.pixel(x, y), Black) << x << "," << y;
                }
            }
    }
}

TEST(CardSet, StoredFormPalettesAndNoTwoImagesAlike)
{
    std::map<bool, std::vector<std::uint8_t>> palettes;
    std::set<QRgb> backCorners;
    std::set<QByteArray> pictures;
    for (const std::string& name : cards::CardNames()) {
        SCOPED_TRACE(name);
        const QByteArray file = BuiltIn(name);
        ASSERT_EQ(static_cast<std::size_t>(file.size()), cards::FileHeaderBytes + cards::CardDibBytes);
        ASSERT_EQ(cards::CardDibBytes, 7976U);
        EXPECT_TRUE(pictures.insert(file.mid(14 + 40 + 1024)).second);
        const auto dib = Bytes(file.mid(static_cast<qsizetype>(cards::FileHeaderBytes)));
        auto u32 = [&](std::size_t at) { return dib[at] | dib[at + 1] << 8 | dib[at + 2] << 16 | dib[at + 3] << 24; };
        EXPECT_EQ(u32(0), 40U);
        EXPECT_EQ(u32(4), 71U);
        EXPECT_EQ(u32(8), 96U);
        EXPECT_EQ(dib[12] | dib[13] << 8, 1);
        EXPECT_EQ(dib[14] | dib[15] << 8, 8);
        EXPECT_EQ(u32(16), 0U);
        EXPECT_EQ(u32(20), 6912U);

        const std::vector<std::uint8_t> palette(dib.begin() + 40, dib.begin() + 40 + 1024);
        auto [kept, first] = palettes.emplace(SharesFacePalette(name), palette);
        EXPECT_EQ(kept->second, palette);

        const auto bitmap = cards::DecodeBmp(Bytes(file));
        ASSERT_TRUE(bitmap);
        std::set<std::uint32_t> colours;
        for (std::uint8_t index : bitmap->indices)
            colours.insert(bitmap->palette[index]);
        EXPECT_LE(colours.size(), 9U);
        if (!SharesFacePalette(name))
            backCorners.insert(bitmap->Colour(0, 0));
    }
    EXPECT_NE(palettes[true], palettes[false]);
    ASSERT_EQ(backCorners.size(), 1U);
    const QColor lightBlue(*backCorners.begin());
    EXPECT_GT(lightBlue.blue(), lightBlue.red());
    EXPECT_GT(lightBlue.lightness(), 160);
}

TEST(CardSet, RegeneratingGivesTheSameBytes)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    cardgen::WriteCardSet(folder.path());
    for (const std::string& name : cards::CardNames()) {
        SCOPED_TRACE(name);
        QFile made(QDir(folder.path()).filePath(QString::fromStdString(name) + ".bmp"));
        QFile committed(QString(WIRTOLA_SOURCE_DIR "/assets/cards/") + QString::fromStdString(name) + ".bmp");
        ASSERT_TRUE(made.open(QIODevice::ReadOnly));
        ASSERT_TRUE(committed.open(QIODevice::ReadOnly));
        const QByteArray bytes = made.readAll();
        EXPECT_TRUE(bytes == committed.readAll()) << "assets/cards differ from the generator's output";
        EXPECT_TRUE(bytes == BuiltIn(name)) << "the built-in image differs from the generator's output";
    }
}

// Pip cards: one shape per pip in the body, all in the suit's colour.
TEST(CardSet, PipCardsShowAsManyPipsAsTheirRank)
{
    for (char suit : cards::SuitLetters)
        for (int number = 1; number <= 9; ++number) {
            const std::string name = suit + std::to_string(number);
            SCOPED_TRACE(name);
            const QImage image = LoadCardImage(QString::fromStdString(name)).convertToFormat(QImage::Format_RGB32);
            QRgb ink = 0xffffffffU;
            for (int x = 13; x <= 57 && ink == 0xffffffffU; ++x)
                ink = image.pixel(x, 15);
            EXPECT_EQ(ink == Black, suit == 'C' || suit == 'S');
            EXPECT_EQ(qRed(ink) > 150 && qGreen(ink) < 60 && qBlue(ink) < 60, suit == 'D' || suit == 'H');
            std::vector<int> seen(71 * 96, 0);
            int shapes = 0;
            for (int y = 2; y < 94; ++y)
                for (int x = 13; x <= 57; ++x) {
                    if (image.pixel(x, y) == 0xffffffffU || seen[y * 71 + x])
                        continue;
                    ++shapes;
                    std::vector<QPoint> pending{{x, y}};
                    seen[y * 71 + x] = 1;
                    while (!pending.empty()) {
                        const QPoint p = pending.back();
                        pending.pop_back();
                        EXPECT_EQ(image.pixel(p), ink);
                        for (QPoint n : {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)})
                            if (n.x() >= 13 && n.x() <= 57 && n.y() >= 2 && n.y() < 94 && !seen[n.y() * 71 + n.x()]
                                && image.pixel(n) != 0xffffffffU) {
                                seen[n.y() * 71 + n.x()] = 1;
                                pending.push_back(n);
                            }
                    }
                }
            EXPECT_EQ(shapes, number + 1);
        }
}

// Filling the corners of a picture: bounded by pure black only, four-connected, and safe when
// the fill colour is the region's own.
TEST(FloodFill, FillsTheRegionBoundedByBlack)
{
    struct Case {
        const char* label;
        std::vector<std::string> rows; // '#' black, '.' white, 'g' grey
        int x, y;
        std::uint32_t colour;
        std::vector<std::string> want; // 'F' filled
    };
    const Case cases[] = {
        {"corner cut off by a diagonal",
         {"..###", ".#...", "#....", "#...."},
         0,
         0,
         0xff00ff00,
         {"FF###", "F#...", "#....", "#...."}},
        {"diagonal gaps do not leak", {".#..", "#...", "...."}, 0, 0, 0xff00ff00, {"F#..", "#...", "...."}},
        {"other colours are not borders", {".g.#.", "gg.#.", "...#."}, 0, 0, 0xff00ff00, {"FFF#.", "FFF#.", "FFF#."}},
        {"fill colour equal to the region", {"...#", "..##", "...."}, 3, 2, 0xffffffff, {"FFF#", "FF##", "FFFF"}},
        {"black start fills nothing", {"#..", "..."}, 0, 0, 0xff00ff00, {"#..", "..."}},
        {"start outside fills nothing", {"..", ".."}, 5, 0, 0xff00ff00, {"..", ".."}},
        {"winding region",
         {".#...", ".#.#.", "...#.", "####."},
         0,
         0,
         0xff00ff00,
         {"F#FFF", "F#F#F", "FFF#F", "####F"}},
    };
    auto pixel = [](char c) -> std::uint32_t { return c == '#' ? 0xff000000 : c == 'g' ? 0xff808080 : 0xffffffff; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const int width = static_cast<int>(c.rows[0].size());
        const int height = static_cast<int>(c.rows.size());
        const int stride = width + 3; // rows wider than the picture, as a QImage may have
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(stride) * height, 0xdeadbeef);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[y * stride + x] = pixel(c.rows[y][x]);
        cards::FloodFillBoundedByBlack(pixels.data(), width, height, stride, c.x, c.y, c.colour);
        for (int y = 0; y < height; ++y) {
            std::string got;
            for (int x = 0; x < width; ++x) {
                const std::uint32_t p = pixels[y * stride + x];
                const bool filled = p == c.colour && (c.want[y][x] == 'F' || p != pixel(c.rows[y][x]));
                got += filled ? 'F' : c.rows[y][x];
            }
            EXPECT_EQ(got, c.want[y]) << "row " << y;
            for (int x = width; x < stride; ++x)
                EXPECT_EQ(pixels[y * stride + x], 0xdeadbeefU);
        }
    }
}

TEST(Bmp, EncodeThenDecodeGivesThePictureBack)
{
    for (auto [width, height] : {std::pair{71, 96}, std::pair{1, 1}, std::pair{5, 3}}) {
        SCOPED_TRACE(width);
        cards::Bitmap8 image;
        image.width = width;
        image.height = height;
        for (int i = 0; i < 256; ++i)
            image.palette[i] = 0xff000000U | static_cast<std::uint32_t>(i * 0x010203);
        for (int i = 0; i < width * height; ++i)
            image.indices.push_back(static_cast<std::uint8_t>(i * 7));
        const auto bytes = cards::EncodeBmp(image);
        EXPECT_EQ(bytes.size(), 14 + 40 + 1024 + cards::RowBytes(width) * height);
        const auto back = cards::DecodeBmp(bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->indices, image.indices);
        EXPECT_EQ(back->palette, image.palette);
    }
}

TEST(Bmp, DamagedOrForeignFilesAreRefused)
{
    cards::Bitmap8 image;
    image.width = 4;
    image.height = 2;
    image.indices = {0, 1, 2, 3, 4, 5, 6, 7};
    const auto good = cards::EncodeBmp(image);
    auto patched = [&](std::size_t at, std::vector<std::uint8_t> values) {
        auto bytes = good;
        std::copy(values.begin(), values.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        return bytes;
    };
    struct Case {
        const char* label;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"truncated rows", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
        {"not BM", patched(0, {'P', 'K'})},
        {"24 bits per pixel", patched(28, {24, 0})},
        {"run-length compressed", patched(30, {1, 0, 0, 0})},
        {"zero width", patched(18, {0, 0, 0, 0})},
        {"huge height", patched(22, {0xff, 0xff, 0xff, 0x7f})},
        {"most negative height", patched(22, {0, 0, 0, 0x80})},
        {"index beyond a short palette", patched(46, {4, 0, 0, 0})},
        {"index equal to the palette's size", patched(46, {7, 0, 0, 0})},
        {"palette beyond 256", patched(46, {1, 1, 0, 0})},
        {"pixels start past the end", patched(10, {0xff, 0xff, 0xff, 0xff})},
        {"other header size", patched(14, {108, 0, 0, 0})},
    };
    ASSERT_TRUE(cards::DecodeBmp(good));
    EXPECT_TRUE(cards::DecodeBmp(patched(46, {8, 0, 0, 0}))) << "the last index a palette of eight has";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_FALSE(cards::DecodeBmp(c.bytes));
    }

    // A top-down file (negative height) is read with its first stored row on top.
    const auto topDown = cards::DecodeBmp(patched(22, {0xfe, 0xff, 0xff, 0xff}));
    ASSERT_TRUE(topDown);
    EXPECT_EQ(topDown->indices, (std::vector<std::uint8_t>{4, 5, 6, 7, 0, 1, 2, 3}));
}

} // namespace
