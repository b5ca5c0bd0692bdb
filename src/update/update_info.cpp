#include "update_info.h"

#include <QFile>
#include <algorithm>

namespace update {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Next line of `text` from `pos` (CR, LF or CR LF end a line); advances `pos`.
std::string_view nextLine(std::string_view text, std::size_t &pos) {
    const auto end = text.find_first_of("\r\n", pos);
    const auto line = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (end == std::string_view::npos)
        pos = text.size();
    else
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    return line;
}

std::string kept(std::string value, std::size_t length) {
    if (value.size() > length)
        value.resize(length);
    return value;
}

} // namespace

std::string profileString(std::string_view iniText, std::string_view section, std::string_view key) {
    if (iniText.starts_with("\xEF\xBB\xBF")) // a UTF-8 byte order mark is not part of the first line
        iniText.remove_prefix(3);
    enum { Before, Inside, After } where = Before;
    for (std::size_t pos = 0; pos < iniText.size() && where != After;) {
        const auto line = trimmed(nextLine(iniText, pos));
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            const auto name = trimmed(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            if (where == Inside)
                where = After; // only the first section of that name is read
            else if (sameName(name, section))
                where = Inside;
            continue;
        }
        if (where != Inside)
            continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos || !sameName(trimmed(line.substr(0, equals)), key))
            continue;
        return std::string(unquoted(trimmed(line.substr(equals + 1))));
    }
    return {};
}

bool parseUpdateInfo(UpdateInfo &info, std::string_view iniText) {
    info = UpdateInfo{};
    const auto read = [&](std::string_view key, std::size_t length) {
        return kept(profileString(iniText, "Update", key), length);
    };
    info.appName = read("Appname", kAppNameKept);
    if ((info.version = read("Version", kVersionKept)).empty())
        return false;
    if ((info.noteUrl = read("UrlNote", kUrlKept)).empty())
        return false;
    if ((info.updateUrl = read("UrlUpdate", kUrlKept)).empty())
        return false;
    info.sha256 = profileString(iniText, "Update", "Sha256");
    info.signature = profileString(iniText, "Update", "Signature");
    return true;
}

bool ReadUpdateInfo(UpdateInfo &info, const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        info = UpdateInfo{};
        return false;
    }
    const QByteArray bytes = file.readAll();
    return parseUpdateInfo(info, std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

} // namespace update
