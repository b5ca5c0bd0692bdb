#ifndef GLYPHWERK_TESTS_BDF_TEST_SUPPORT_H
#define GLYPHWERK_TESTS_BDF_TEST_SUPPORT_H

// Loading fonts from text and saving them to text, for the library's tests.

#include "bdf.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace bdf_test {

struct FontDeleter {
    void operator()(bdf_font *font) const { bdf_free_font(font); }
};
using FontPtr = std::unique_ptr<bdf_font, FontDeleter>;

// The registry is process-wide and set up once for the whole test program.
inline void setup_once() {
    static bool done = [] {
        bdf_setup();
        return true;
    }();
    (void)done;
}

inline FontPtr load_text(const std::string &text, const bdf_options *options = nullptr,
                         bdf_callback callback = nullptr, void *client_data = nullptr) {
    setup_once();
    FILE *file = fmemopen(const_cast<char *>(text.data()), text.size(), "r");
    if (file == nullptr)
        return nullptr;
    FontPtr font(bdf_load_font(file, options, callback, client_data));
    fclose(file);
    return font;
}

inline std::string save_text(bdf_font *font, const bdf_options *options = nullptr,
                             bdf_callback callback = nullptr, void *client_data = nullptr) {
    setup_once();
    char *buffer = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&buffer, &size);
    if (file == nullptr)
        return "";
    bdf_save_font(file, font, options, callback, client_data);
    fclose(file);
    std::string text(buffer, size);
    free(buffer);
    return text;
}

} // namespace bdf_test

#endif
