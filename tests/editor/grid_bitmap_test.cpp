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

// Set pixels of a glyph as (x, y, level), x from the origin and y up from the baseline.
std::set<std::tuple<int, int, int>> InkOf(const bdf_glyph &glyph, int bpp = 1) {
    std::set<std::tuple<int, int, int>> ink;
    for (int r = 0; r < glyph.bbx.height; ++r)
        for (int k = 0; k < glyph.bbx.width; ++k)
            if (int level = GridPixel(glyph.bitmap, glyph.bbx.width, glyph.bbx.height, bpp, k, r))
                ink.insert({glyph.bbx.x_offset + k, glyph.bbx.ascent - 1 - r, level});
    return ink;
}

// Unpacks `glyph` into a blank grid of `box` and packs it back: no pixel may move or be lost.
void ExpectRoundTripKeepsTheInk(bdf_glyph *glyph, const bdf_bbx &box, int bpp = 1) {
    const auto ink = InkOf(*glyph, bpp);
    Grid grid(box.width, box.height, bpp);
    UnpackGlyph(grid.bytes, glyph, box, bpp);
    Pack(glyph, grid, box);
    EXPECT_EQ(InkOf(*glyph, bpp), ink);
}

TEST(GridBitmap, UnpackPlacesTheGlyphByOriginAndBaselineAndSkipsWhatLiesOutside) {
    auto glyph = MakeGlyph({"#...#", ".....", "#...#"}, 1, -2);
    glyph->bitmap[0] |= 0x07; // the bits after a row's last pixel are ignored
    Grid grid(8, 8);
    UnpackGlyph(grid.bytes, glyph.get(), Box(8, 8, 0, -4)); // ascent 4: glyph rows 0..2 at grid rows 3..5
    EXPECT_EQ(grid.picture(), (Picture{"........", "........", "........", ".#...#..", "........", ".#...#..",
                                       "........", "........"}));
    Grid narrow(8, 2); // one glyph column left of the grid, one right, none into the next row
    UnpackGlyph(narrow.bytes, MakeGlyph({"##########"}, -1, 1).get(), Box(8, 2, 0, 0));
    EXPECT_EQ(narrow.picture(), (Picture{"########", "........"}));
    // Nothing to unpack leaves the grid blank; unpacking stops where the bytes end.
    Grid cut(8, 4);
    UnpackGlyph(cut.bytes, nullptr, Box(8, 4, 0, 0));
    UnpackGlyph(cut.bytes, MakeGlyph({}, 0, 0).get(), Box(8, 4, 0, 0));
    auto shortened = MakeGlyph({"##", "##", "##", "##"}, 0, 0);
    shortened->bytes = 2;
    UnpackGlyph(cut.bytes, shortened.get(), Box(8, 4, 0, 0));
    EXPECT_EQ(cut.picture(), (Picture{"##......", "##......", "........", "........"}));
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
    Grid dot(40, 40); // ink only in the row just above the baseline packs onto the baseline
    SetGridPixel(dot.bytes, 40, 40, 1, 3, 31, 1);
    Pack(glyph.get(), dot, font);
    EXPECT_EQ(std::tie(glyph->bbx.x_offset, glyph->bbx.y_offset, glyph->bbx.ascent, glyph->bytes, glyph->bitmap[0]),
              std::make_tuple(3, 0, 1, 1u, 0x80));
    EXPECT_EQ(glyph->bitmap, block);
    Pack(glyph.get(), Grid(40, 40), font); // all clear: empty, with the old offsets kept
    EXPECT_EQ(std::tie(glyph->bbx.width, glyph->bbx.height, glyph->bytes, glyph->bbx.x_offset, glyph->bbx.y_offset),
              std::make_tuple(0, 0, 0u, 3, 0));
    EXPECT_EQ(glyph->bitmap, nullptr);
}

TEST(GridBitmap, PackingAnUnpackedGlyphGivesTheGlyphCroppedToItsInk) {
    std::mt19937 random(11);
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
            ExpectRoundTripKeepsTheInk(glyph.get(), Box(12, 14, -2, -3), bpp);
            EXPECT_EQ(glyph->bytes, GridBytes(glyph->bbx.width, glyph->bbx.height, bpp));
            // Cropped: ink in the first and last row and column.
            const Picture cropped = GlyphPicture(*glyph, bpp);
            if (cropped.empty())
                continue;
            std::string left, right;
            for (const auto &row : cropped)
                left += row.front(), right += row.back();
            for (const std::string &edge : {left, right, cropped.front(), cropped.back()})
                EXPECT_NE(edge.find_first_not_of('.'), std::string::npos) << round;
        }
}

TEST(GridBitmap, TheGridGrowsToHoldAGlyphReachingOutsideTheFontBoxUpToTheAddressLimits) {
    const bdf_bbx font = Box(6, 8, 0, -2);
    bdf_bbx grid{};
    ASSERT_TRUE(GridBoxFor(font, MakeGlyph({"##", "##"}, 1, 0).get(), &grid));
    EXPECT_EQ(std::tie(grid.width, grid.height, grid.x_offset, grid.y_offset), std::make_tuple(6, 8, 0, -2));
    auto outside = MakeGlyph({"#..#", "....", "#..#"}, -2, 5); // left of and above the font box
    ASSERT_TRUE(GridBoxFor(font, outside.get(), &grid));
    EXPECT_EQ(std::tie(grid.x_offset, grid.width, grid.ascent, grid.y_offset, grid.height, grid.descent),
              std::make_tuple(-2, 8, 8, -2, 10, 2));
    ExpectRoundTripKeepsTheInk(outside.get(), grid);
    auto huge = MakeGlyph({}, 0, 0);
    huge->bbx = Box(65000, 1, -30000, 0);
    EXPECT_FALSE(GridBoxFor(Box(65000, 1, 30000, 0), huge.get(), &grid));
}

TEST(GridBitmap, ReadBackTakesOnlyExactLevelGreysInsideTheRasterAsInk) {
    const int pitch = 5;
    QImage raster(5 * pitch + 1, pitch + 1, QImage::Format_RGB32);
    raster.fill(Qt::white);
    for (auto [k, colour] : {std::pair{0, qRgb(0, 0, 0)}, {1, qRgb(170, 170, 170)}, {2, qRgb(85, 85, 85)},
                             {3, qRgb(192, 192, 192)}, {4, qRgb(255, 0, 0)}})
        raster.setPixel(1 + k * pitch, 1, colour);
    std::unique_ptr<unsigned char, decltype(&free)> grid(ReadBackCanvas(raster, pitch, 6, 2, 2), free);
    EXPECT_EQ(PictureOf(grid.get(), 6, 2, 2), (Picture{"312...", "......"})); // column 5 and row 1 lie outside
}

} // namespace
