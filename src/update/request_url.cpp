#include "request_url.h"

#include <chrono>

namespace update {

std::int32_t tickCount() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms));
}

std::string requestUrl(std::string_view url, std::int32_t tick) {
    std::string result(url);
    result += "?udp=";
    result += std::to_string(tick);
    return result;
}

} // namespace update
