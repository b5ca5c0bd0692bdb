#ifndef GLYPHWERK_BDF_READER_STATE_H
#define GLYPHWERK_BDF_READER_STATE_H

/* What the line handlers of one load share: the reader state, the handler form,
 * the result codes and the progress bits. */

#include "bdf.h"
#include "metrics.h"
#include "encoding_set.h"
#include "fields.h"

#include <stdio.h>
#include <string.h>

enum {
    BDF_START = 0x1,
    BDF_FONT_NAME = 0x2,
    BDF_SIZE = 0x4,
    BDF_FONT_BBX = 0x8,
    BDF_PROPS = 0x10,
    BDF_GLYPHS = 0x20,
    BDF_GLYPH = 0x40,
    BDF_ENCODING = 0x80,
    BDF_SWIDTH = 0x100,
    BDF_DWIDTH = 0x200,
    BDF_BBX = 0x400,
    BDF_BITMAP = 0x800,
    BDF_SWIDTH_ADJUSTED = 0x1000,
    BDF_GLYPH_WIDTH_CHECK = 0x40000000,
    BDF_GLYPH_HEIGHT_CHECK = 0x80000000u,
    /* The per-glyph bits from ENCODING to BITMAP. */
    BDF_GLYPH_LINES = BDF_ENCODING | BDF_SWIDTH | BDF_DWIDTH | BDF_BBX | BDF_BITMAP,
};

/* Handler results: 0 goes on, anything else stops reading. */
enum {
    BDF_OK = 0,
    BDF_MISSING_START = -1,
    BDF_MISSING_FONTNAME = -2,
    BDF_MISSING_SIZE = -3,
    BDF_MISSING_FONTBBX = -4,
    BDF_MISSING_CHARS = -5,
    BDF_MISSING_STARTCHAR = -6,
    BDF_MISSING_ENCODING = -7,
    BDF_MISSING_BBX = -8,
    BDF_UNKNOWN_KEYWORD = -100,
    BDF_OUT_OF_MEMORY = -101,
};

enum {
    BDF_LOADING_START = 1,
    BDF_LOADING_GLYPH = 2,
    BDF_LOAD_ERROR = 21,
};

struct bdf_parse_state;
struct bdf_handler_slot;

/* One line without its end, NUL-terminated and writable. `next` is the slot of
 * the current handler, through which a handler installs its successor. */
typedef int (*bdf_line_handler)(char *line, uint32_t length, uint32_t lineno,
                                bdf_handler_slot *next, bdf_parse_state *state);

struct bdf_handler_slot {
    bdf_line_handler handler;
};

struct bdf_parse_state {
    uint32_t flags;
    uint32_t count;
    uint32_t row;       /* next bitmap row of the current glyph */
    uint32_t row_bytes; /* bytes per row of the current glyph */
    bdf_box_span glyph_boxes; /* every BBX line so far */
    char *glyph_name;       /* name from STARTCHAR not yet given to a glyph */
    int32_t glyph_encoding; /* -1 while the current glyph is unencoded */
    bdf_font *font;
    bdf_options options;
    void *client_data;
    bdf_callback callback;
    bdf_progress progress;
    bdf_encoding_set seen_encodings;
    bdf_list fields;

    /* Allocated bytes of the font's growing text buffers. */
    uint32_t comments_size;
    uint32_t messages_size;
    /* The current glyph's bitmap grows with the rows that come and is completed
     * when the glyph ends (glyph_bitmap.cpp). */
    bdf_glyph *bitmap_glyph; /* the glyph whose rows are coming, or null */
    uint32_t bitmap_size;
    uint64_t padding_used; /* zero bytes added for missing rows so far */
    bool any_bbx;          /* some glyph had a BBX line */
    /* The last scalable width computed for the glyphs (glyph_handler.cpp). */
    bool known_swidth;
    uint16_t known_dwidth;
    uint16_t known_swidth_value;
    uint32_t stop_line;    /* the line the line reader stopped at, 0 while it goes on */
    int64_t file_size;     /* -1 when not known */
    uint64_t bytes_read;   /* from the file so far */
};

/* Appends a formatted message and "\n" to the font's messages. */
void bdf_message(bdf_parse_state *state, const char *format, ...)
    __attribute__((format(printf, 2, 3)));

/* Appends `length` bytes and "\n" to the font's comments; 0 when memory ran out. */
int bdf_add_comment(bdf_parse_state *state, const char *text, size_t length);

/* Records that memory ran out at this line and returns BDF_OUT_OF_MEMORY. */
int bdf_out_of_memory(bdf_parse_state *state, uint32_t lineno);

/* "[line %ld] Missing "%s" line." and the code. */
int bdf_missing(bdf_parse_state *state, uint32_t lineno, const char *keyword, int code);

/* True when `line` (`length` bytes) starts with the `n` characters of `keyword`.
 * One memcmp of a constant size compiles to a few word compares. */
static inline bool bdf_keyword(const char *line, uint32_t length, const char *keyword, size_t n) {
    return length >= n && memcmp(line, keyword, n) == 0;
}
#define BDF_KEYWORD(line, length, literal) \
    bdf_keyword(line, length, literal, sizeof(literal) - 1)

/* Splits the line on blanks, runs collapsed; 0 when memory ran out. */
int bdf_split_blanks(bdf_parse_state *state, char *line, uint32_t length);

/* Field i of the last split, or null beyond the last field. */
static inline const char *bdf_field(const bdf_parse_state *state, uint32_t i) {
    return i < state->fields.used ? state->fields.field[i] : nullptr;
}

int bdf_header_handler(char *line, uint32_t length, uint32_t lineno, bdf_handler_slot *next,
                       bdf_parse_state *state);
int bdf_property_handler(char *line, uint32_t length, uint32_t lineno, bdf_handler_slot *next,
                         bdf_parse_state *state);
int bdf_glyph_handler(char *line, uint32_t length, uint32_t lineno, bdf_handler_slot *next,
                      bdf_parse_state *state);

#endif
