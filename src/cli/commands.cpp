#include "commands.h"

#include "font_ptr.h"
#include "font_summary.h"
#include "huge_page_heap.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

// The library answers null both for a file it cannot read and for one without
// a STARTFONT line; the user needs to know which, so probe the file once more.
void report_no_font(const char *path) {
    FILE *file = std::fopen(path, "r");
    int error = errno;
    if (file) {
        std::fgetc(file);
        if (std::ferror(file))
            error = errno;
        else
            error = 0;
        std::fclose(file);
    }
    if (error)
        std::fprintf(stderr, "glyphwerk-bdf: cannot read %s: %s\n", path, std::strerror(error));
    else
        std::fprintf(stderr, "glyphwerk-bdf: %s: no STARTFONT line, not a BDF font\n", path);
}

FontPtr load(const char *path) {
    struct stat status;
    if (stat(path, &status) == 0 && S_ISREG(status.st_mode))
        prepare_heap_for_font((std::uint64_t)status.st_size);
    FontPtr font(bdf_load_font_path(path));
    if (!font)
        report_no_font(path);
    return font;
}

} // namespace

int run_check(const char *path) {
    FontPtr font = load(path);
    if (!font)
        return EXIT_NO_FONT;
    if (font->messages_len == 0)
        return EXIT_CLEAN;
    std::fwrite(font->messages, 1, font->messages_len, stdout);
    return EXIT_MESSAGES;
}

int run_info(const char *path) {
    FontPtr font = load(path);
    if (!font)
        return EXIT_NO_FONT;
    std::string text = bdf_font_summary(font.get(), path);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return EXIT_CLEAN;
}

int run_normalize(const char *in_path, const char *out_path) {
    FontPtr font = load(in_path);
    if (!font)
        return EXIT_NO_FONT;
    errno = 0;
    // Like other batch tools, leave writing OUT to the disk to the system
    // rather than wait for it on every file.
    if (!bdf_save_font_path_unsynced(out_path, font.get())) {
        // The library reports only failure; errno usually still holds the cause.
        if (errno)
            std::fprintf(stderr, "glyphwerk-bdf: cannot write %s: %s\n", out_path, std::strerror(errno));
        else
            std::fprintf(stderr, "glyphwerk-bdf: cannot write %s\n", out_path);
        return EXIT_WRITE_FAILED;
    }
    return EXIT_CLEAN;
}
