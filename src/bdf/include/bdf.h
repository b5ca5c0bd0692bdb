/*
 * The BDF 2.1 font library: model, property registry, reader and writer.
 *
 * Plain records and free functions; all memory through malloc/calloc/realloc/free.
 * Errors are data: the reader corrects damaged input and records one line per
 * correction in the font's `messages`; nothing here prints, exits or opens windows.
 * Not thread-safe: the registry and `bdf_global_options` are process-wide.
 *
 * Typical use:
 *     bdf_setup();
 *     bdf_font *font = bdf_load_font_path("x.bdf");
 *     ... bdf_save_font_path("y.bdf", font) ...
 *     bdf_free_font(font);
 *     bdf_cleanup();
 */
#ifndef GLYPHWERK_BDF_H
#define GLYPHWERK_BDF_H

#include <stdint.h>
#include <stdio.h>

/* ---- Model ------------------------------------------------------------- */

enum {
    BDF_PROP_ATOM = 1,
    BDF_PROP_INTEGER = 2,
    BDF_PROP_CARDINAL = 3,
};

enum {
    BDF_SPACING_PROPORTIONAL = 8,
    BDF_SPACING_MONO = 16,
    BDF_SPACING_CELL = 32,
};

enum {
    BDF_EOL_LF = 1,
    BDF_EOL_CRLF = 2,
    BDF_EOL_CR = 3,
};

/* Number of predefined property names in the registry (indices 0 to 82). */
enum { BDF_PREDEFINED_PROPERTIES = 83 };

/* Coordinates: x grows right from the origin, y grows up from the baseline. */
typedef struct bdf_bbx {
    uint16_t width;
    uint16_t height;
    int16_t x_offset;
    int16_t y_offset;
    int16_t ascent;  /* y_offset + height wherever the library sets a box */
    int16_t descent; /* -y_offset wherever the library sets a box */
} bdf_bbx;

/*
 * One glyph. Bitmap rows run top to bottom, each (width * bpp + 7) / 8 bytes,
 * leftmost pixel in the most significant bits. `bytes` is 32 bits wide so that
 * glyphs of more than 65535 bytes are kept whole.
 */
typedef struct bdf_glyph {
    char *name;       /* owned, may be null */
    int32_t encoding; /* code point; in the unencoded list, the list position */
    uint16_t swidth;
    uint16_t dwidth;
    bdf_bbx bbx;
    unsigned char *bitmap; /* owned; null when bytes is 0 */
    uint32_t bytes;        /* height * row bytes */
} bdf_glyph;

typedef struct bdf_property {
    const char *name; /* points into the registry; never owned by a font */
    int32_t format;   /* BDF_PROP_ATOM, BDF_PROP_INTEGER or BDF_PROP_CARDINAL */
    int32_t builtin;  /* 1 for a predefined name */
    union {
        char *atom; /* owned; null for an empty string */
        int32_t int32;
        uint32_t card32;
    } value;
} bdf_property;

/* Twelve 32-bit words in this order; defaults are those of bdf_default_options. */
typedef struct bdf_options {
    int32_t reserved0;       /* 0 */
    int32_t correct_metrics; /* 1 */
    int32_t keep_unencoded;  /* 1 */
    int32_t keep_comments;   /* 1 */
    int32_t pad_cells;       /* 1 */
    int32_t font_spacing;    /* 8 */
    int32_t reserved6;       /* 12 */
    int32_t reserved7;       /* 0 */
    int32_t reserved8;       /* 0 */
    int32_t reserved9;       /* 1 */
    int32_t eol;             /* BDF_EOL_LF */
    int32_t reserved11;      /* 3 */
} bdf_options;

/* Open-addressing string table; keys are not owned and must outlive it. */
typedef struct bdf_hash_entry {
    const char *key;
    int32_t index;
} bdf_hash_entry;

typedef struct bdf_hash {
    int32_t limit;
    uint32_t size;
    int32_t used;
    bdf_hash_entry **buckets;
} bdf_hash;

typedef struct bdf_font {
    char *name; /* owned, may be null */
    bdf_bbx bbx;
    int32_t point_size;
    uint32_t resolution_x;
    uint32_t resolution_y;
    int16_t metrics_set;
    int16_t swidth;
    int16_t dwidth;
    int16_t swidth1;
    int16_t dwidth1;
    int16_t vvector_x;
    int16_t vvector_y;
    int32_t spacing; /* BDF_SPACING_* */
    uint16_t monowidth;
    int32_t default_glyph;
    int32_t font_ascent;
    int32_t font_descent;
    uint32_t glyphs_size;
    uint32_t glyphs_used;
    bdf_glyph *glyphs; /* encoded, ascending by encoding after a load */
    uint32_t unencoded_size;
    uint32_t unencoded_used;
    bdf_glyph *unencoded; /* in reading order */
    uint32_t props_size;
    uint32_t props_used;
    bdf_property *props;
    char *comments; /* each line followed by "\n"; may be null */
    uint32_t comments_len;
    char *messages; /* each message followed by "\n"; may be null */
    uint32_t messages_len;
    bdf_hash prop_index; /* property name -> index in props (no COMMENT entries) */
    uint16_t modified;
    uint16_t bpp; /* 1, 2 or 4 */
    /* 0 when the reader took in every line through ENDFONT. Otherwise reading
     * stopped before this line (the first it could not place, or the line after
     * the last when the data ended without ENDFONT): the font holds only what
     * came before it. */
    uint32_t stop_line;
} bdf_font;

/* Progress reports: reason 1 CHARS read, 2 glyph read, 3 CHARS written, 4 glyph
 * written, 21 load failed (error_line set). */
typedef struct bdf_progress {
    int32_t reason;
    uint32_t current;
    uint32_t total;
    uint32_t error_line;
} bdf_progress;

typedef void (*bdf_callback)(bdf_progress *progress, void *client_data);

/* The one options record used by the program; filled with defaults by bdf_setup. */
extern bdf_options bdf_global_options;

/* Copies the default options into `options`; null is ignored. */
void bdf_default_options(bdf_options *options);

/* ---- Registry ---------------------------------------------------------- */

/* Builds the property registry and fills bdf_global_options. Call once, first. */
void bdf_setup(void);

/* Releases the registry. Call once, after the last font has been freed. */
void bdf_cleanup(void);

/* Registers a user-defined property name unless the registry knows it already. */
void bdf_create_property(const char *name, int32_t format);

/* The registry's record for `name`, or null for a null, empty or unknown name. */
bdf_property *bdf_get_property(const char *name);

/* Sets or adds a property on the font; `value` is parsed by the name's format
 * (null or "" stores a null atom). DEFAULT_CHAR, FONT_ASCENT, FONT_DESCENT and
 * SPACING also set the matching font fields when first added. */
void bdf_add_font_property(bdf_font *font, const char *name, const char *value);

/* The font's property named `name`, or null. COMMENT entries are never found. */
bdf_property *bdf_get_font_property(bdf_font *font, const char *name);

/* ---- Load -------------------------------------------------------------- */

/* Reads a font from an open file. Returns the font, or null when the data holds
 * no STARTFONT line (or memory ran out before the font existed). Null options
 * mean the defaults. The caller frees the result with bdf_free_font. */
bdf_font *bdf_load_font(FILE *file, const bdf_options *options, bdf_callback callback,
                        void *client_data);

/* Opens `path` and reads it as text (CR LF reaches the reader as LF, a 0x1A byte
 * ends the data) with bdf_global_options. Null for a null path, a file that
 * cannot be opened, or no STARTFONT line. */
bdf_font *bdf_load_font_path(const char *path);

/* Reads a font from `length` bytes of text in memory, as bdf_load_font_path
 * reads a file (CR LF as LF, 0x1A ends the data; a last line without its line
 * end is not read). Null options mean the defaults. Null when the text holds
 * no STARTFONT line. The caller frees the result with bdf_free_font. */
bdf_font *bdf_load_font_text(const char *text, size_t length, const bdf_options *options);

/* ---- Save -------------------------------------------------------------- */

/* Writes the font as BDF 2.1, normalising glyphs in memory as it goes (crop to
 * ink, or padding to the cell in character-cell fonts); encoded glyphs first,
 * then the unencoded ones with ENCODING -1. Null options mean the defaults.
 * Returns 1 when everything was written; 0 for a null file or font, a write
 * error or memory running out. */
int bdf_save_font(FILE *file, bdf_font *font, const bdf_options *options, bdf_callback callback,
                  void *client_data);

/* The text bdf_save_font writes, in memory: a NUL-terminated buffer of
 * `*length` bytes (length may be null) that the caller frees with free(); null
 * for a null font or when memory ran out. Normalises glyphs as bdf_save_font. */
char *bdf_save_font_text(bdf_font *font, const bdf_options *options, size_t *length);

/* Saves atomically with bdf_global_options: writes a temporary file beside
 * `path` and renames it over `path`. Returns 1 on success; 0 when the path or
 * font is null or anything fails, leaving any existing file unchanged. */
int bdf_save_font_path(const char *path, bdf_font *font);

/* As bdf_save_font_path, without waiting for the data to reach the disk: the
 * file is replaced just as atomically, but a system crash soon after may lose
 * the new contents. For batch tools that write many files. */
int bdf_save_font_path_unsynced(const char *path, bdf_font *font);

/* ---- Release ----------------------------------------------------------- */

/* Frees the font and everything it owns; null is ignored. */
void bdf_free_font(bdf_font *font);

#endif
