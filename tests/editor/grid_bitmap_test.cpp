#include "glyph_fixture.h"
#include "grid_bitmap.h"
#include "read_back_canvas.h"

#include <QImage>
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

namespace {

struct Grid {
    Grid(int w, int h, int depth = 1) : width(w), height(h), bpp(depth), bytes(static_cast<unsigned char *>(
                                                                            calloc(GridBytes(w, h, depth) + 1, 1))) {}
    ~Grid() { free(bytes); }
    Picture picture() const { return PictureOf(bytes, width, height, bpp); }
    int width, height, bpp;
    unsigned char *bytes;
};

// Set pixels of a glyph as (x, y, level) in glyph coordinates (x from the origin, y up from the baseline).
std::set<std::tuple<int, int, int>> InkOf(const bdf_glyph &glyph, int bpp = 1) {
    std::set<std::tuple<int, int, int>> ink;
    for (int r = 0; r < glyph.bbx.height; ++r)
        for (int k = 0; k < glyph.bbx.width; ++k)
            if (int level = GridPixel(glyph.bitmap, glyph.bbx.width, glyph.bbx.height, bpp, k, r))
                ink.insert({glyph.bbx.x_offset + k, glyph.bbx.ascent - 1 - r, level});
    return ink;
}

TEST(GridBitmap, UnpackPlacesTheGlyphRelativeToOriginAndBaseline) {
    const bdf_bbx font = Box(8, 16, 0, -4); // ascent 12
    auto glyph = MakeGlyph({"#...#", ".....", ".....", ".....", ".....", ".....", "#...#"}, 1, -2);
    ASSERT_EQ(glyph->bbx.ascent, 5);
    Grid grid(8, 16);
    UnpackGlyph(grid.bytes, glyph.get(), font);
    const Picture picture = grid.picture();
    EXPECT_EQ(picture[7], ".#...#..");  // glyph row 0 at grid row 12 - 5
    EXPECT_EQ(picture[13], ".#...#.."); // glyph row 6
    int set = 0;
    for (auto &row : picture)
        set += int(std::count(row.begin(), row.end(), '#'));
    EXPECT_EQ(set, 4);
    // The bits after a row's last pixel are ignored, and the grid's own padding stays clear.
    glyph->bitmap[0] |= 0x07;
    Grid again(8, 16);
    UnpackGlyph(again.bytes, glyph.get(), font);
    EXPECT_EQ(again.picture(), picture);
}

TEST(GridBitmap, UnpackOfNothingLeavesTheGridBlankAndStopsWhereTheBytesEnd) {
    const bdf_bbx font = Box(8, 4, 0, 0);
    Grid grid(8, 4);
    UnpackGlyph(grid.bytes, nullptr, font);
    auto empty = MakeGlyph({}, 0, 0);
    UnpackGlyph(grid.bytes, empty.get(), font);
    EXPECT_EQ(grid.picture(), Picture(4, "........"));

    auto glyph = MakeGlyph({"##", "##", "##", "##"}, 0, 0);
    glyph->bytes = 2; // covers two of the four rows
    UnpackGlyph(grid.bytes, glyph.get(), font);
    EXPECT_EQ(grid.picture(), (Picture{"##......", "##......", "........", "........"}));
}

TEST(GridBitmap, UnpackSkipsPixelsOutsideTheGrid) {
    const bdf_bbx font = Box(4, 2, 0, 0);
    auto glyph = MakeGlyph({"######"}, -1, 1); // one column left of the grid, one right
    Grid grid(4, 2);
    UnpackGlyph(grid.bytes, glyph.get(), font);
    EXPECT_EQ(grid.picture(), (Picture{"####", "...."}));
}

TEST(GridBitmap, ShiftsMoveOnePixelAndLoseWhatCrossesAnEdge) {
    Grid source(4, 3), right(4, 3), back(4, 3);
    free(source.bytes);
    source.bytes = GridFrom({"#..#", ".#..", "...#"});
    ShiftBitmap(source.bytes, right.bytes, SHIFT_RIGHT, 4, 3);
    EXPECT_EQ(right.picture(), (Picture{".#..", "..#.", "...."}));
    ShiftBitmap(right.bytes, back.bytes, SHIFT_LEFT, 4, 3);
    EXPECT_EQ(back.picture(), (Picture{"#...", ".#..", "...."}));

    Grid corner(4, 3), moved(4, 3);
    free(corner.bytes);
    corner.bytes = GridFrom({"##..", "....", "...."});
    ShiftBitmap(corner.bytes, moved.bytes, SHIFT_LEFT_DOWN, 4, 3);
    EXPECT_EQ(moved.picture(), (Picture{"....", "#...", "...."}));

    const std::pair<int, Picture> expected[] = {
        {SHIFT_UP, {"....", "....", "...."}},       {SHIFT_DOWN, {"....", "#...", "...."}},
        {SHIFT_RIGHT_UP, {"....", "....", "...."}}, {SHIFT_RIGHT_DOWN, {"....", ".#..", "...."}},
        {SHIFT_LEFT_UP, {"....", "....", "...."}},
    };
    Grid single(4, 3);
    SetGridPixel(single.bytes, 4, 3, 1, 0, 0, 1);
    for (const auto &[direction, picture] : expected) {
        Grid out(4, 3);
        ShiftBitmap(single.bytes, out.bytes, direction, 4, 3);
        EXPECT_EQ(out.picture(), picture) << "direction " << direction;
    }
}

TEST(GridBitmap, AShiftAndItsOppositeRestoreEveryPixelNotPushedOverAnEdge) {
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

TEST(GridBitmap, InkExtentIsTheSmallestBoxAroundTheSetPixels) {
    Grid grid(10, 6);
    InkExtent *empty = ComputeInkExtent(grid.bytes, 10, 6);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->min_x, 65535);
    EXPECT_EQ(empty->min_y, 65535);
    EXPECT_EQ(empty->max_x, 0);
    EXPECT_EQ(empty->max_y, 0);
    EXPECT_EQ(empty->bytes, 12u);
    EXPECT_EQ(empty->bitmap, grid.bytes);
    free(empty);

    SetGridPixel(grid.bytes, 10, 6, 1, 9, 1, 1);
    SetGridPixel(grid.bytes, 10, 6, 1, 2, 4, 1);
    InkExtent *extent = ComputeInkExtent(grid.bytes, 10, 6);
    EXPECT_EQ(std::tie(extent->min_x, extent->min_y, extent->max_x, extent->max_y), std::make_tuple(2, 1, 9, 4));
    free(extent);
}

TEST(GridBitmap, PackingCropsToTheInkAndMovesTheOffsets) {
    const bdf_bbx font = Box(8, 16, 0, -4);
    auto glyph = MakeGlyph({".....", ".#...", ".##..", "....."}, 1, -2);
    Grid grid(8, 16);
    UnpackGlyph(grid.bytes, glyph.get(), font);
    InkExtent *extent = ComputeInkExtent(grid.bytes, 8, 16);
    ASSERT_TRUE(PackIntoGlyph(glyph.get(), *extent, font));
    free(extent);
    EXPECT_EQ(GlyphPicture(*glyph), (Picture{"#.", "##"}));
    EXPECT_EQ(glyph->bbx.x_offset, 2);
    EXPECT_EQ(glyph->bbx.y_offset, -1);
    EXPECT_EQ(glyph->bbx.ascent, 1);
    EXPECT_EQ(glyph->bbx.descent, 1);
    EXPECT_EQ(glyph->bytes, 2u);

    // Ink only in the row just above the baseline packs onto the baseline.
    Grid baseline(8, 16);
    SetGridPixel(baseline.bytes, 8, 16, 1, 3, 11, 1);
    extent = ComputeInkExtent(baseline.bytes, 8, 16);
    ASSERT_TRUE(PackIntoGlyph(glyph.get(), *extent, font));
    free(extent);
    EXPECT_EQ(glyph->bbx.y_offset, 0);
    EXPECT_EQ(glyph->bbx.ascent, 1);
    EXPECT_EQ(glyph->bbx.x_offset, 3);
}

TEST(GridBitmap, PackingReusesALargerBlockAndEmptiesAnAllClearGrid) {
    const bdf_bbx font = Box(16, 16, 0, 0);
    auto glyph = MakeGlyph(Picture(16, std::string(16, '#')), 0, 0);
    const unsigned char *block = glyph->bitmap;
    Grid grid(16, 16);
    SetGridPixel(grid.bytes, 16, 16, 1, 5, 5, 1);
    InkExtent *extent = ComputeInkExtent(grid.bytes, 16, 16);
    ASSERT_TRUE(PackIntoGlyph(glyph.get(), *extent, font));
    free(extent);
    EXPECT_EQ(glyph->bitmap, block);
    EXPECT_EQ(glyph->bytes, 1u);
    EXPECT_EQ(glyph->bitmap[0], 0x80);

    Grid clear(16, 16);
    extent = ComputeInkExtent(clear.bytes, 16, 16);
    ASSERT_TRUE(PackIntoGlyph(glyph.get(), *extent, font));
    free(extent);
    EXPECT_EQ(glyph->bbx.width, 0);
    EXPECT_EQ(glyph->bbx.height, 0);
    EXPECT_EQ(glyph->bytes, 0u);
    EXPECT_EQ(glyph->bitmap, nullptr);
    EXPECT_EQ(glyph->bbx.x_offset, 5); // the old offsets stay
    EXPECT_EQ(glyph->bbx.y_offset, 10);
}

TEST(GridBitmap, PackingAnUnpackedGlyphGivesTheGlyphCroppedToItsInk) {
    std::mt19937 random(11);
    for (int bpp : {1, 2, 4})
        for (int round = 0; round < 40; ++round) {
            const bdf_bbx font = Box(12, 14, -2, -3);
            const int width = 1 + int(random() % 12), height = 1 + int(random() % 14);
            const int x = -2 + int(random() % (13 - width)), y = -3 + int(random() % (15 - height));
            Picture rows(height, std::string(width, '.'));
            for (auto &row : rows)
                for (char &c : row)
                    if (random() % 3 == 0)
                        c = "0123456789abcdef"[1 + random() % MaxLevel(bpp)];
            auto glyph = MakeGlyph(rows, x, y, bpp);
            const auto ink = InkOf(*glyph, bpp);
            Grid grid(12, 14, bpp);
            UnpackGlyph(grid.bytes, glyph.get(), font, bpp);
            InkExtent *extent = ComputeInkExtent(grid.bytes, 12, 14, bpp);
            ASSERT_TRUE(PackIntoGlyph(glyph.get(), *extent, font, bpp));
            free(extent);
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
            EXPECT_EQ(glyph->bbx.x_offset, minX);
            EXPECT_EQ(glyph->bbx.width, maxX - minX + 1);
            EXPECT_EQ(glyph->bbx.y_offset, minY);
            EXPECT_EQ(glyph->bbx.ascent, maxY + 1);
        }
}

TEST(GridBitmap, TheGridGrowsToHoldAGlyphReachingOutsideTheFontBox) {
    const bdf_bbx font = Box(6, 8, 0, -2);
    bdf_bbx grid{};
    auto inside = MakeGlyph({"##", "##"}, 1, 0);
    ASSERT_TRUE(GridBoxFor(font, inside.get(), &grid));
    EXPECT_EQ(std::tie(grid.width, grid.height, grid.x_offset, grid.y_offset),
              std::tie(font.width, font.height, font.x_offset, font.y_offset));

    auto outside = MakeGlyph({"#..#", "....", "#..#"}, -2, 5); // left of and above the font box
    ASSERT_TRUE(GridBoxFor(font, outside.get(), &grid));
    EXPECT_EQ(grid.x_offset, -2);
    EXPECT_EQ(grid.width, 8);
    EXPECT_EQ(grid.ascent, 8);
    EXPECT_EQ(grid.y_offset, -2);
    EXPECT_EQ(grid.height, 10);
    EXPECT_EQ(grid.descent, 2);

    // Unpacked into that grid and packed back, no pixel is lost.
    const auto ink = InkOf(*outside);
    Grid bitmap(grid.width, grid.height);
    UnpackGlyph(bitmap.bytes, outside.get(), grid);
    InkExtent *extent = ComputeInkExtent(bitmap.bytes, grid.width, grid.height);
    ASSERT_TRUE(PackIntoGlyph(outside.get(), *extent, grid));
    free(extent);
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
