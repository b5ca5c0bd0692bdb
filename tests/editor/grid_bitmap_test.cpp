#include "glyph_fixture.h"
#include "read_back_canvas.h"

#include <QImage>
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

namespace {

// A grid that frees itself: blank, or drawn from a picture.
struct Grid {
    Grid(int w, int h, int depth = 1) : Grid(Picture(h, std::string(w, '.')), depth) {}
    explicit Grid(const Picture &rows, int depth = 1)
        : width(int(rows[0].size())), height(int(rows.size())), bpp(depth), bytes(GridFrom(rows, depth)) {}
    ~Grid() { free(bytes); }
    Picture picture() const { return PictureOf(bytes, width, height, bpp); }
    int width, height, bpp;
    unsigned char *bytes;
};

void Pack(bdf_glyph *glyph, const Grid &grid, const bdf_bbx &box) {
    std::unique_ptr<InkExtent, decltype(&free)> extent(ComputeInkExtent(grid.bytes, grid.width, grid.height, grid.bpp),
                                                       free);
    ASSERT_TRUE(PackIntoGlyph(glyph, *extent, box, grid.bpp));
}

// Unpacks `glyph` into a blank grid of `box` and packs it back.
void RoundTrip(bdf_glyph *glyph, const bdf_bbx &box, int bpp = 1) {
    Grid grid(box.width, box.height, bpp);
    UnpackGlyph(grid.bytes, glyph, box, bpp);
    Pack(glyph, grid, box);
}

// Set pixels of a glyph as (x, y, level) in glyph coordinates (x from the origin, y up from the baseline).
std::set<std::tuple<int, int, int>> InkOf(const bdf_glyph &glyph, int bpp = 1) {
    std::set<std::tuple<int, int, int>> ink;
    for (int r = 0; r < glyph.bbx.height; ++r)
        for (int k = 0; k < glyph.bbx.width; ++k)
            if (int level = GridPixel(glyph.bitmap, glyph.bbx.width, glyph.bbx.height, bpp, k, r))
                ink.insert({glyph.bbx.x_offset + k, glyph.bbx.ascent - 1 - r, level});
    return ink;
}

TEST(GridBitmap, UnpackPlacesTheGlyphByOriginAndBaselineAndSkipsWhatLiesOutside) {
    auto glyph = MakeGlyph({"#...#", ".....", ".....", ".....", ".....", ".....", "#...#"}, 1, -2);
    glyph->bitmap[0] |= 0x07; // the bits after a row's last pixel are ignored
    Grid grid(8, 16);
    UnpackGlyph(grid.bytes, glyph.get(), Box(8, 16, 0, -4)); // ascent 12
    Picture expected(16, "........");
    expected[7] = expected[13] = ".#...#.."; // glyph rows 0 and 6 below grid row 12 - ascent 5
    EXPECT_EQ(grid.picture(), expected);

    Grid narrow(8, 2); // one glyph column left of the grid, one right, none into the next row
    UnpackGlyph(narrow.bytes, MakeGlyph({"##########"}, -1, 1).get(), Box(8, 2, 0, 0));
    EXPECT_EQ(narrow.picture(), (Picture{"########", "........"}));

    // Nothing to unpack leaves the grid blank; unpacking stops where the bytes end.
    Grid blank(8, 4);
    UnpackGlyph(blank.bytes, nullptr, Box(8, 4, 0, 0));
    UnpackGlyph(blank.bytes, MakeGlyph({}, 0, 0).get(), Box(8, 4, 0, 0));
    EXPECT_EQ(blank.picture(), Picture(4, "........"));
    auto cut = MakeGlyph({"##", "##", "##", "##"}, 0, 0);
    cut->bytes = 2;
    UnpackGlyph(blank.bytes, cut.get(), Box(8, 4, 0, 0));
    EXPECT_EQ(blank.picture(), (Picture{"##......", "##......", "........", "........"}));
}

TEST(GridBitmap, EachShiftMovesOnePixelAndLosesWhatCrossesAnEdge) {
    const Grid source(Picture{"#......#", ".#......", ".......#"});
    const std::pair<int, Picture> expected[] = {
        {SHIFT_UP, {".#......", ".......#", "........"}},       {SHIFT_DOWN, {"........", "#......#", ".#......"}},
        {SHIFT_LEFT, {"......#.", "#.......", "......#."}},     {SHIFT_RIGHT, {".#......", "..#.....", "........"}},
        {SHIFT_LEFT_UP, {"#.......", "......#.", "........"}},  {SHIFT_LEFT_DOWN, {"........", "......#.", "#......."}},
        {SHIFT_RIGHT_UP, {"..#.....", "........", "........"}}, {SHIFT_RIGHT_DOWN, {"........", ".#......", "..#....."}},
    };
    for (const auto &[direction, picture] : expected) {
        Grid out(8, 3);
        ShiftBitmap(source.bytes, out.bytes, direction, 8, 3);
        EXPECT_EQ(out.picture(), picture) << "direction " << direction;
    }
}

TEST(GridBitmap, AShiftAndItsOppositeRestoreEveryPixelNotPushedOverAnEdgeAtEveryDepth) {
    std::mt19937 random(7);
    const int opposite[9] = {0, 2, 1, 4, 3, 8, 7, 6, 5};
    for (int bpp : {1, 2, 4})
        for (int direction = 1; direction <= 8; ++direction) {
            const int width = 3 + int(random() % 11), height = 2 + int(random() % 9);
            Grid source(width, height, bpp), there(width, height, bpp), back(width, height, bpp);
            for (int r = 0; r < height; ++r)
                for (int k = 0; k < width; ++k)
                    SetGridPixel(source.bytes, width, height, bpp, k, r, int(random() % (MaxLevel(bpp) + 1)));
            ShiftBitmap(source.bytes, there.bytes, direction, width, height, bpp);
            ShiftBitmap(there.bytes, back.bytes, opposite[direction], width, height, bpp);
            const ShiftStep step = DirectionStep(direction);
            for (int r = 0; r < height; ++r)
                for (int k = 0; k < width; ++k) {
                    const bool kept = k + step.dx >= 0 && k + step.dx < width && r + step.dy >= 0 &&
                                      r + step.dy < height;
                    EXPECT_EQ(GridPixel(back.bytes, width, height, bpp, k, r),
                              kept ? GridPixel(source.bytes, width, height, bpp, k, r) : 0)
                        << "bpp " << bpp << " direction " << direction << " at " << k << "," << r;
                }
        }
}

TEST(GridBitmap, PackingCropsToTheInkGrowsOrReusesTheBlockAndEmptiesAnAllClearGrid) {
    const bdf_bbx font = Box(40, 40, 0, -8); // ascent 32
    auto glyph = MakeGlyph({"#"}, 0, 0);
    Pack(glyph.get(), Grid(Picture(40, std::string(40, '#'))), font); // 200 bytes where 1 was
    EXPECT_EQ(GlyphPicture(*glyph), Picture(40, std::string(40, '#')));
    EXPECT_EQ(std::tie(glyph->bbx.x_offset, glyph->bbx.y_offset, glyph->bytes), std::make_tuple(0, -8, 200u));

    const unsigned char *block = glyph->bitmap;
    Grid ink(40, 40);
    for (auto [k, r] : {std::pair{2, 31}, {2, 32}, {3, 32}})
        SetGridPixel(ink.bytes, 40, 40, 1, k, r, 1);
    Pack(glyph.get(), ink, font);
    EXPECT_EQ(GlyphPicture(*glyph), (Picture{"#.", "##"}));
    EXPECT_EQ(std::tie(glyph->bbx.x_offset, glyph->bbx.y_offset, glyph->bbx.ascent, glyph->bbx.descent, glyph->bytes),
              std::make_tuple(2, -1, 1, 1, 2u));
    // Ink only in the row just above the baseline packs onto the baseline.
    Grid dot(40, 40);
    SetGridPixel(dot.bytes, 40, 40, 1, 3, 31, 1);
    Pack(glyph.get(), dot, font);
    EXPECT_EQ(std::tie(glyph->bbx.x_offset, glyph->bbx.y_offset, glyph->bbx.ascent, glyph->bytes),
              std::make_tuple(3, 0, 1, 1u));
    EXPECT_EQ(glyph->bitmap, block);
    EXPECT_EQ(glyph->bitmap[0], 0x80);

    Pack(glyph.get(), Grid(40, 40), font);
    EXPECT_EQ(std::tie(glyph->bbx.width, glyph->bbx.height, glyph->bytes), std::make_tuple(0, 0, 0u));
    EXPECT_EQ(glyph->bitmap, nullptr);
    EXPECT_EQ(std::tie(glyph->bbx.x_offset, glyph->bbx.y_offset), std::make_tuple(3, 0)); // the old offsets stay
}

TEST(GridBitmap, PackingAnUnpackedGlyphGivesTheGlyphCroppedToItsInk) {
    std::mt19937 random(11);
    const bdf_bbx font = Box(12, 14, -2, -3);
    for (int bpp : {1, 2, 4})
        for (int round = 0; round < 40; ++round) {
            const int width = 1 + int(random() % 12), height = 1 + int(random() % 14);
            const int x = -2 + int(random() % (13 - width)), y = -3 + int(random() % (15 - height));
            Picture rows(height, std::string(width, '.'));
            for (auto &row : rows)
                for (char &c : row)
                    if (random() % 3 == 0)
                        c = "0123456789abcdef"[1 + random() % MaxLevel(bpp)];
            auto glyph = MakeGlyph(rows, x, y, bpp);
            const auto ink = InkOf(*glyph, bpp);
            RoundTrip(glyph.get(), font, bpp);
            EXPECT_EQ(InkOf(*glyph, bpp), ink);
            EXPECT_EQ(glyph->bytes, GridBytes(glyph->bbx.width, glyph->bbx.height, bpp));
            if (ink.empty())
                continue;
            // Cropped: the box touches ink on all four sides.
            int minX = 1 << 20, maxX = -(1 << 20), minY = 1 << 20, maxY = -(1 << 20);
            for (auto [px, py, level] : ink) {
                minX = std::min(minX, px), maxX = std::max(maxX, px);
                minY = std::min(minY, py), maxY = std::max(maxY, py);
            }
            EXPECT_EQ(std::tie(glyph->bbx.x_offset, glyph->bbx.y_offset), std::tie(minX, minY));
            EXPECT_EQ(glyph->bbx.width, maxX - minX + 1);
            EXPECT_EQ(glyph->bbx.ascent, maxY + 1);
        }
}

TEST(GridBitmap, TheGridGrowsToHoldAGlyphReachingOutsideTheFontBox) {
    const bdf_bbx font = Box(6, 8, 0, -2);
    bdf_bbx grid{};
    ASSERT_TRUE(GridBoxFor(font, MakeGlyph({"##", "##"}, 1, 0).get(), &grid));
    EXPECT_EQ(std::tie(grid.width, grid.height, grid.x_offset, grid.y_offset),
              std::tie(font.width, font.height, font.x_offset, font.y_offset));

    auto outside = MakeGlyph({"#..#", "....", "#..#"}, -2, 5); // left of and above the font box
    ASSERT_TRUE(GridBoxFor(font, outside.get(), &grid));
    EXPECT_EQ(std::tie(grid.x_offset, grid.width, grid.ascent, grid.y_offset, grid.height, grid.descent),
              std::make_tuple(-2, 8, 8, -2, 10, 2));
    const auto ink = InkOf(*outside);
    RoundTrip(outside.get(), grid); // no pixel is lost
    EXPECT_EQ(InkOf(*outside), ink);

    auto huge = MakeGlyph({}, 0, 0);
    huge->bbx = Box(65000, 1, -30000, 0);
    EXPECT_FALSE(GridBoxFor(Box(65000, 1, 30000, 0), huge.get(), &grid));
}

TEST(GridBitmap, ReadBackTakesOnlyExactLevelGreysAsInk) {
    const int pitch = 5;
    QImage raster(3 * pitch + 1, pitch + 1, QImage::Format_RGB32);
    raster.fill(Qt::white);
    raster.setPixel(1, 1, qRgb(0, 0, 0));
    raster.setPixel(1 + pitch, 1, qRgb(192, 192, 192));
    raster.setPixel(1 + 2 * pitch, 1, qRgb(255, 0, 0));
    unsigned char *grid = ReadBackCanvas(raster, pitch, 4, 2);
    EXPECT_EQ(PictureOf(grid, 4, 2), (Picture{"#...", "...."})); // column 3 and row 1 lie outside the raster
    free(grid);

    raster.setPixel(1 + pitch, 1, qRgb(170, 170, 170));
    raster.setPixel(1 + 2 * pitch, 1, qRgb(85, 85, 85));
    grid = ReadBackCanvas(raster, pitch, 3, 1, 2);
    EXPECT_EQ(PictureOf(grid, 3, 1, 2), (Picture{"312"}));
    free(grid);
}

} // namespace
