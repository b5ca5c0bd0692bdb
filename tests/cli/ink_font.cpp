#include "ink_font.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace {

int hex_value(char c) { return std::isxdigit((unsigned char)c) ? std::stoi(std::string(1, c), nullptr, 16) : -1; }

bool keyword(const std::string &line, const char *word, std::string &rest) {
    size_t n = std::char_traits<char>::length(word);
    if (line.compare(0, n, word) != 0 || (line.size() > n && line[n] != ' '))
        return false;
    rest = line.size() > n ? line.substr(n + 1) : std::string();
    return true;
}

[[noreturn]] void fail(long line, const std::string &why) { throw std::runtime_error("line " + std::to_string(line) + ": " + why); }

} // namespace

ink_font read_ink_font(const std::string &text) {
    ink_font font;
    std::istringstream in(text);
    std::string line, rest;
    long number = 0;
    bool in_glyph = false, in_bitmap = false;
    ink_glyph glyph;
    int width = 0, height = 0, x_offset = 0, y_offset = 0, row = 0;

    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (in_bitmap && line.rfind("ENDCHAR", 0) != 0) {
            if (row >= height)
                fail(number, "more bitmap rows than the box height");
            if ((int)line.size() < 2 * ((width * font.bpp + 7) / 8))
                fail(number, "short bitmap row");
            for (int x = 0; x < width; ++x) {
                const int bit = x * font.bpp, nibble = hex_value(line[(size_t)bit / 4]);
                if (nibble < 0)
                    fail(number, "not a hexadecimal digit");
                if (int value = (nibble >> (4 - font.bpp - bit % 4)) & ((1 << font.bpp) - 1))
                    glyph.ink.push_back({x_offset + x, y_offset + height - 1 - row, value});
            }
            ++row;
            continue;
        }
        if (keyword(line, "SIZE", rest)) {
            std::istringstream fields(rest);
            long skipped, bpp = 1;
            fields >> skipped >> skipped >> skipped;
            if (fields >> bpp && bpp != 1 && bpp != 2 && bpp != 4)
                fail(number, "bits per pixel other than 1, 2 or 4");
            font.bpp = (int)bpp;
        } else if (keyword(line, "SPACING", rest)) {
            font.spacing = rest;
            font.spacing.erase(std::remove(font.spacing.begin(), font.spacing.end(), '"'), font.spacing.end());
        } else if (keyword(line, "CHARS", rest)) {
            font.chars_count = std::stol(rest);
        } else if (keyword(line, "STARTCHAR", rest)) {
            glyph = ink_glyph{};
            glyph.name = rest;
            in_glyph = true;
        } else if (in_glyph && keyword(line, "ENCODING", rest)) {
            glyph.encoding = std::stol(rest);
        } else if (in_glyph && keyword(line, "DWIDTH", rest)) {
            glyph.dwidth = std::stoi(rest);
        } else if (in_glyph && keyword(line, "BBX", rest)) {
            std::istringstream fields(rest);
            if (!(fields >> width >> height >> x_offset >> y_offset))
                fail(number, "BBX needs four numbers");
        } else if (in_glyph && keyword(line, "BITMAP", rest)) {
            in_bitmap = true;
            row = 0;
        } else if (in_glyph && keyword(line, "ENDCHAR", rest)) {
            if (row != height)
                fail(number, "fewer bitmap rows than the box height");
            std::sort(glyph.ink.begin(), glyph.ink.end());
            ++font.glyphs_in_file;
            if (glyph.encoding < 0 || !font.encoded.emplace(glyph.encoding, glyph).second)
                font.unencoded.push_back(glyph);
            in_glyph = in_bitmap = false;
            width = height = x_offset = y_offset = 0;
        }
    }
    if (in_glyph)
        fail(number, "the file ends inside a glyph");
    return font;
}

int common_dwidth(const ink_font &font) {
    std::map<int, long> counts;
    for (const auto &[encoding, glyph] : font.encoded)
        ++counts[glyph.dwidth];
    auto most = std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) { return a.second < b.second; });
    return most == counts.end() ? 0 : most->first;
}

std::string glyph_difference(const ink_glyph &expected, const ink_glyph &actual) {
    std::string why = expected.name == actual.name ? "" : "name \"" + expected.name + "\" became \"" + actual.name + "\"; ";
    if (expected.dwidth != actual.dwidth)
        why += "dwidth " + std::to_string(expected.dwidth) + " became " + std::to_string(actual.dwidth) + "; ";
    if (expected.ink != actual.ink)
        why += "ink differs (" + std::to_string(expected.ink.size()) + " pixels before, " +
               std::to_string(actual.ink.size()) + " after); ";
    return why;
}
