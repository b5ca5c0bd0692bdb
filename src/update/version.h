#ifndef GLYPHWERK_UPDATE_VERSION_H
#define GLYPHWERK_UPDATE_VERSION_H

#include "glyphwerk_version.h"

#include <string_view>

namespace update {

// This program's version, shown unchanged; the text after its first character
// is its number.
inline constexpr std::string_view LOCAL_VERSION = "V" GLYPHWERK_VERSION;

// The number of a version text: its text after the first character read as a
// decimal number the way atof reads it (leading blanks and a sign allowed,
// "." as decimal point, an optional exponent, parsing stops at the first
// character that does not belong to the number); 0 when there is none.
double versionNumber(std::string_view version);

// True only when `latest` is strictly greater than LOCAL_VERSION by number.
bool isNewerThanLocal(std::string_view latest);

} // namespace update

#endif
