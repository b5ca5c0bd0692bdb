#ifndef GLYPHWERK_UPDATE_REQUEST_URL_H
#define GLYPHWERK_UPDATE_REQUEST_URL_H

#include <cstdint>
#include <string>
#include <string_view>

namespace update {

// Milliseconds since the system started, wrapped to a signed 32-bit value.
std::int32_t tickCount();

// "%s?udp=%d": the URL with the query key udp and the tick count, so that
// consecutive requests for one file never hit a cache. The query is appended
// even when the URL already has one (it then holds a second "?").
std::string requestUrl(std::string_view url, std::int32_t tick);

} // namespace update

#endif
