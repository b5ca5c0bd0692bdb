#ifndef GLYPHWERK_BDF_LINE_READER_H
#define GLYPHWERK_BDF_LINE_READER_H

#include "reader_state.h"

#include <stdio.h>

/* Where the line reader's bytes come from. In text mode each CR LF pair reaches
 * the lines as one LF and a 0x1A byte ends the data, as text files were read on
 * the platform the format grew up on. */
struct bdf_line_source {
    FILE *file;      /* null when the bytes come from `memory` */
    bool text_mode;
    bool pending_cr; /* text mode: a CR ended the last block */
    bool ended;      /* text mode: 0x1A seen */
    const char *memory;
    size_t memory_left;
};

/* Cuts the data into lines at LF, CR or LF CR, and hands each line that is not
 * empty and does not start with "#" or 0x1A to the current handler. Stops at the
 * end of the data (an unterminated last line is not handed over) or at the first
 * non-zero handler result, which it returns; `lineno` is then one past the last
 * line ended. Lines of any length are read whole. */
int bdf_read_lines(bdf_line_source *source, bdf_line_handler handler, bdf_parse_state *state,
                   uint32_t *lineno);

#endif
