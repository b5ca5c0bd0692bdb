#include "commands.h"

#include "font_ptr.h"
#include "font_summary.h"
#include "huge_page_heap.h"
#include "summary_json.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

bool is_standard_stream(const char *path) { return std::strcmp(path, "-") == 0; }

// Standard input goes through its device file, so that it is read as text
// exactly as a named file is (CR LF, the 0x1A end mark).
const char *input_path(const char *path) { return is_standard_stream(path) ? "/dev/stdin" : path; }

const char *shown_name(const char *path) { return is_standard_stream(path) ? "standard input" : path; }

// The library answers null both for a file it cannot read and for one without
// a STARTFONT line; the user needs to know which, so probe the file once more.
void report_no_font(const char *path) {
    FILE *file = std::fopen(input_path(path), "r");
    int error = errno;
    if (file) {
        std::fgetc(file);
        if (std::ferror(file))
            error = errno;
        else
            error = 0;
        std::fclose(file);
    }
    // Between the messages of the files checked before and after this one.
    std::fflush(stdout);
    if (error)
        std::fprintf(stderr, "glyphwerk-bdf: cannot read %s: %s\n", shown_name(path), std::strerror(error));
    else
        std::fprintf(stderr, "glyphwerk-bdf: %s: no STARTFONT line, not a BDF font\n", shown_name(path));
}

FontPtr read_font(const char *path) {
    FontPtr font(bdf_load_font_path(input_path(path)));
    if (!font)
        report_no_font(path);
    return font;
}

FontPtr load(const char *path) {
    struct stat status;
    if (stat(input_path(path), &status) == 0 && S_ISREG(status.st_mode))
        prepare_heap_for_font((std::uint64_t)status.st_size);
    return read_font(path);
}

int check_status(const bdf_font *font) { return font->messages_len == 0 ? EXIT_CLEAN : EXIT_MESSAGES; }

int check_one(const char *path) {
    FontPtr font = load(path);
    if (!font)
        return EXIT_NO_FONT;
    if (font->messages_len != 0) // a font without messages holds no buffer
        std::fwrite(font->messages, 1, font->messages_len, stdout);
    return check_status(font.get());
}

void print_messages_of(const char *path, const bdf_font *font) {
    std::string_view messages(font->messages, font->messages_len);
    while (!messages.empty()) {
        const size_t end = std::min(messages.find('\n'), messages.size());
        std::printf("%s: %.*s\n", shown_name(path), (int)end, messages.data());
        messages.remove_prefix(std::min(end + 1, messages.size()));
    }
}

void write_out(const std::string &text) { std::fwrite(text.data(), 1, text.size(), stdout); }

} // namespace

int run_check(int count, char **paths) {
    if (count == 1)
        return check_one(paths[0]);
    // Many fonts in one run: each is freed before the next is read.
    int worst = EXIT_CLEAN;
    for (int i = 0; i < count; ++i) {
        int status = EXIT_NO_FONT;
        if (FontPtr font = read_font(paths[i])) {
            print_messages_of(paths[i], font.get());
            status = check_status(font.get());
        }
        worst = std::max(worst, status);
    }
    return worst;
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
    write_out(out);
    return EXIT_CLEAN;
}

int run_info_json(const char *path) {
    FontPtr font = load(path);
    if (!font)
        return EXIT_NO_FONT;
    write_out(font_summary_json(font.get(), path));
    return EXIT_CLEAN;
}

int run_normalize(const char *in_path, const char *out_path) {
    FontPtr font = load(in_path);
    if (!font)
        return EXIT_NO_FONT;
    if (is_standard_stream(out_path)) {
        if (!bdf_save_font(stdout, font.get(), &bdf_global_options, nullptr, nullptr)) {
            std::fprintf(stderr, "glyphwerk-bdf: cannot write standard output\n");
            return EXIT_WRITE_FAILED;
        }
        return EXIT_CLEAN;
    }
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
