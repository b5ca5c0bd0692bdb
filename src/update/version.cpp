#include "version.h"

#include <charconv>

namespace update {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// atof restricted to decimal numbers: no hexadecimal, infinity or NaN forms,
// and independent of the locale's decimal point.
double decimalPrefix(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const auto number = text.substr(i);
    const bool startsNumber = !number.empty() &&
        (isDigit(number[0]) || (number[0] == '.' && number.size() > 1 && isDigit(number[1])));
    if (!startsNumber)
        return 0.0;
    double value = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
    return negative ? -value : value;
}

} // namespace

double versionNumber(std::string_view version) {
    return version.empty() ? 0.0 : decimalPrefix(version.substr(1));
}

bool isNewerThanLocal(std::string_view latest) {
    return versionNumber(latest) > versionNumber(LOCAL_VERSION);
}

} // namespace update
