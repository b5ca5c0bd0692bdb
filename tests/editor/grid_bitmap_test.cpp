#include "glyph_fixture.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

namespace {

using Bytes = std::unique_ptr<unsigned char, decltype(&free)>;
Bytes Grid(const Picture &rows, int bpp = 1) { return Bytes(GridFrom(rows, bpp), free); }
Bytes Blank(int width, int height, int bpp = 1) { return Grid(Picture(height, std::string(width, '.')), bpp); }

Picture RandomPicture(std::mt19937 &random, int width, int height, int bpp) {
    Picture rows(height, std::string(width, '.'));
    for (auto &row : rows)
        for (char &c : row)
            if (random() % 3 == 0)
                c = "0123456789abcdef"[1 + random() % MaxLevel(bpp)];
    return rows;
}

void Pack(bdf_glyph *glyph, const unsigned char *grid, const bdf_bbx &box, int bpp = 1) {
    std::unique_ptr<InkExtent, decltype(&free)> extent(ComputeInkExtent(grid, box.width, box.height, bpp), free);
    ASSERT_TRUE(PackIntoGlyph(glyph, *extent, box, bpp));
}

// Set pixels of a glyph as (x, y, level), x from the origin and y up from the baseline.
std::set<std::tuple<int, int, int>> InkOf(const bdf_glyph &glyph, int bpp) {
    std::set<std::tuple<int, int, int>> ink;
    for (int r = 0; r < glyph.bbx.height; ++r)
        for (int k = 0; k < glyph.bbx.width; ++k)
            if (int level = GridPixel(glyph.bitmap, glyph.bbx.width, glyph.bbx.height, bpp, k, r))
                ink.insert({glyph.bbx.x_offset + k, glyph.bbx.ascent - 1 - r, level});
    return ink;
}

TEST(GridBitmap, UnpackPlacesTheGlyphByOriginAndBaselineAndSkipsWhatLiesOutside) {
    auto glyph = MakeGlyph({"#...#", ".....", "#...#"}, 1, -2), empty = MakeGlyph({}, 0, 0);
    glyph->bitmap[0] |= 0x07; // the bits after a row's last pixel are ignored
    auto cut = MakeGlyph({"##", "##", "##"}, 0, -1);
    cut->bytes = 2; // unpacking stops where the bytes end
    Bytes grid = Blank(8, 5);
    for (const bdf_glyph *source : {glyph.get(), cut.get(), empty.get(), static_cast<bdf_glyph *>(nullptr)})
        UnpackGlyph(grid.get(), source, Box(8, 5, 0, -3)); // ascent 2: glyph row 0 at grid row 1
    EXPECT_EQ(PictureOf(grid.get(), 8, 5), (Picture{"##......", "##...#..", "........", ".#...#..", "........"}));
}

TEST(GridBitmap, AShiftMovesEveryPixelOneStepAndItsOppositeRestoresAllNotPushedOverAnEdge) {
    std::mt19937 random(7);
    const int opposite[9] = {0, 2, 1, 4, 3, 8, 7, 6, 5};
    for (int bpp : {1, 2, 4})
        for (int width : {5, 8}) // rows ending inside a byte and at its end
            for (int direction = 1; direction <= 8; ++direction) {
                const int height = 2 + int(random() % 9);
                Bytes grids[3] = {Grid(RandomPicture(random, width, height, bpp), bpp), Blank(width, height, bpp),
                                  Blank(width, height, bpp)};
                const auto at = [&](int i, int k, int r) {
                    return GridPixel(grids[i].get(), width, height, bpp, k, r);
                };
                ShiftBitmap(grids[0].get(), grids[1].get(), direction, width, height, bpp);
                ShiftBitmap(grids[1].get(), grids[2].get(), opposite[direction], width, height, bpp);
                const auto [dx, dy] = DirectionStep(direction);
                for (int r = 0; r < height; ++r)
                    for (int k = 0; k < width; ++k) {
                        const bool kept = k + dx >= 0 && k + dx < width && r + dy >= 0 && r + dy < height;
                        EXPECT_EQ(std::tuple(at(1, k, r), at(2, k, r)),
                                  std::tuple(at(0, k - dx, r - dy), kept ? at(0, k, r) : 0));
                    }
            }
}

TEST(GridBitmap, PackingGrowsOrReusesTheBlockClearsItsPaddingAndEmptiesAnAllClearGrid) {
    const bdf_bbx font = Box(40, 40, 0, -8); // ascent 32
    auto glyph = MakeGlyph({"#"}, 0, 0);
    Picture picture(40, std::string(40, '#'));
    Pack(glyph.get(), Grid(picture).get(), font); // 200 bytes where 1 was
    EXPECT_EQ(std::tuple(GlyphPicture(*glyph), glyph->bytes), std::tuple(picture, 200u));
    const unsigned char *block = glyph->bitmap;
    picture.assign(40, std::string(40, '.'));
    picture[31][3] = '#'; // just above the baseline: packed onto it
    Pack(glyph.get(), Grid(picture).get(), font);
    EXPECT_EQ(std::tuple(glyph->bbx.x_offset, glyph->bbx.y_offset, glyph->bytes, glyph->bitmap, glyph->bitmap[0]),
              std::tuple(3, 0, 1u, block, 0x80));
    Pack(glyph.get(), Blank(40, 40).get(), font); // all clear: empty, with the old offsets kept
    EXPECT_EQ(std::tie(glyph->bbx.width, glyph->bbx.height, glyph->bytes, glyph->bbx.x_offset, glyph->bbx.y_offset,
                       glyph->bitmap),
              std::make_tuple(0, 0, 0u, 3, 0, nullptr));
}

TEST(GridBitmap, AGlyphUnpackedIntoTheGridGrownForItPacksBackCroppedToItsInkAtEveryDepth) {
    std::mt19937 random(11);
    const bdf_bbx font = Box(8, 10, -2, -3);
    for (int bpp : {1, 2, 4})
        for (int round = 0; round < 40; ++round) { // some glyphs reach outside the font box
            const Picture rows = RandomPicture(random, 1 + int(random() % 12), 1 + int(random() % 14), bpp);
            auto glyph = MakeGlyph(rows, -4 + int(random() % 12), -5 + int(random() % 12), bpp);
            bdf_bbx grid{};
            ASSERT_TRUE(GridBoxFor(font, glyph.get(), &grid));
            const auto ink = InkOf(*glyph, bpp);
            Bytes bytes = Blank(grid.width, grid.height, bpp);
            UnpackGlyph(bytes.get(), glyph.get(), grid, bpp);
            Pack(glyph.get(), bytes.get(), grid, bpp);
            EXPECT_EQ(InkOf(*glyph, bpp), ink); // every pixel kept in place
            EXPECT_EQ(glyph->bytes, GridBytes(glyph->bbx.width, glyph->bbx.height, bpp));
            const Picture cropped = GlyphPicture(*glyph, bpp); // ink in the first and last row and column
            std::string left, right;
            for (const auto &row : cropped)
                left += row.front(), right += row.back();
            for (const std::string &edge :
                 {left, right, cropped.empty() ? left : cropped.front(), cropped.empty() ? left : cropped.back()})
                EXPECT_EQ(edge.empty(), edge.find_first_not_of('.') == std::string::npos) << round;
        }
    bdf_bbx grid{}; // grown just enough, up to 65535 a side
    ASSERT_TRUE(GridBoxFor(font, MakeGlyph({"#..#", "....", "#..#"}, -4, 5).get(), &grid));
    EXPECT_EQ(std::tie(grid.x_offset, grid.width, grid.ascent, grid.y_offset, grid.height, grid.descent),
              std::make_tuple(-4, 10, 8, -3, 11, 3));
    EXPECT_FALSE(GridBoxFor(Box(65000, 1, 30000, 0), MakeGlyph({"#"}, -30000, 0).get(), &grid));
}

} // namespace
