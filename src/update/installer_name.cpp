#include "installer_name.h"

namespace update {

std::string sanitizedVersion(std::string_view version) {
    std::string result;
    for (const char c : version) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                             c == '.' || c == '_' || c == '-';
        if (allowed)
            result += c;
    }
    return result;
}

std::string installerFileName(std::string_view version) {
#ifdef _WIN32
    constexpr std::string_view suffix = ".exe";
#else
    constexpr std::string_view suffix = "";
#endif
    return "Glyphwerk_" + sanitizedVersion(version) + "_setup" + std::string(suffix);
}

} // namespace update
