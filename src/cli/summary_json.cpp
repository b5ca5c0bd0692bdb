#include "summary_json.h"

#include <nlohmann/json.hpp>

std::string font_summary_json(const bdf_font *font, const char *path) {
    const nlohmann::ordered_json summary = {
        {"file", path},
        {"font", font->name ? nlohmann::ordered_json(font->name) : nlohmann::ordered_json(nullptr)},
        {"point_size", font->point_size},
        {"bounding_box",
         {{"width", font->bbx.width},
          {"height", font->bbx.height},
          {"x_offset", font->bbx.x_offset},
          {"y_offset", font->bbx.y_offset}}},
        {"glyphs", font->glyphs_used},
    };
    // Font names and paths are bytes; a file in another encoding must not
    // make the dump throw.
    return summary.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
