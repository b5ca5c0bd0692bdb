#include "bdf.h"

bdf_options bdf_global_options;

void bdf_default_options(bdf_options *options) {
    if (!options)
        return;
    *options = bdf_options{0, 1, 1, 1, 1, BDF_SPACING_PROPORTIONAL, 12, 0, 0, 1, BDF_EOL_LF, 3};
}
