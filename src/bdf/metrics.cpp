#include "metrics.h"

#include <cmath>

uint16_t bdf_scalable_width(const bdf_font *font, uint16_t dwidth) {
    double divisor = (double)font->point_size * (double)font->resolution_x;
    if (divisor == 0.0)
        return 0;
    double width = std::trunc((double)dwidth * 72000.0 / divisor);
    /* Keep the low 16 bits as the integer conversion of the original did;
     * go through int64 so that out-of-range values wrap instead of being UB. */
    if (!(width > -9.2e18 && width < 9.2e18))
        return 0;
    return (uint16_t)(int64_t)width;
}
