#include "cell_colours.h"

#include "grid_bitmap.h"

namespace cell_colours {

QRgb LevelColour(int level, int bpp) {
    const int value = 255 - 255 * level / MaxLevel(bpp);
    return qRgb(value, value, value);
}

int LevelOfColour(QRgb colour, int bpp) {
    const int value = qRed(colour);
    if (qGreen(colour) != value || qBlue(colour) != value)
        return 0;
    const int scaled = (255 - value) * MaxLevel(bpp);
    return scaled % 255 == 0 ? scaled / 255 : 0;
}

} // namespace cell_colours
