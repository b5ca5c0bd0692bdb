#ifndef GLYPHWERK_EDITOR_CELL_COLOURS_H
#define GLYPHWERK_EDITOR_CELL_COLOURS_H

// The colours of the edit canvas. A cell shows its pixel level as a grey from
// white (0, background) to black (the highest level, full ink); at one bit per
// pixel that is just white and black.

#include <QRgb>

namespace cell_colours {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;
constexpr QRgb kGridLine = 0xFFC0C0C0u;  // light grey (192, 192, 192)
constexpr QRgb kAxes = 0xFFFF0000u;      // red: origin and baseline
constexpr QRgb kAdvanceBox = 0xFF000080u; // navy
constexpr QRgb kSelectionFrame = 0xFFFF0000u;

// The grey of `level` at `bpp` bits per pixel.
QRgb LevelColour(int level, int bpp);
// The level a sampled colour stands for: exact level greys only, anything else is 0.
int LevelOfColour(QRgb colour, int bpp);

} // namespace cell_colours

#endif
