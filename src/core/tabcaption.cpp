// TabCaption: caption formation and the percent escape of stored captions.
#include "core/tabcaption.h"

namespace {

// The length of a class identifier in braces, the last component of a virtual folder's path.
constexpr std::size_t kClassIdLength = 38;

bool isEscapedAnywhere(char c) {
    return c == '%' || c == '=' || c == '\n' || c == '\r';
}

bool isEscapedAtStart(char c) {
    return c == '[' || c == ';' || c == '#' || c == ' ' || c == '\t';
}

bool isEscapedAtEnd(char c) {
    return c == ' ' || c == '\t';
}

bool isEscapable(char c) {
    return isEscapedAnywhere(c) || isEscapedAtStart(c);
}

void appendEscaped(std::string &out, char c) {
    static const char digits[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

TabCaption::Outcome TabCaption::fromPath(const std::string &path, std::string &caption) {
    if (path.empty()) {
        caption.clear();
        return Outcome::Special;
    }
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    if (trimmed == "/") {
        caption.assign(1, '/');
        return Outcome::Ok;
    }
    const std::size_t cut = trimmed.find_last_of('/');
    caption = cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
    if (caption.empty() || trimmed.front() != '/' ||
        (caption.size() == kClassIdLength && caption.front() == '{')) {
        return Outcome::Special;
    }
    return Outcome::Ok;
}

std::string TabCaption::encode(const std::string &caption) {
    std::string out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const char c = caption[i];
        const bool escape = isEscapedAnywhere(c) || (i == 0 && isEscapedAtStart(c)) ||
                            (i + 1 == caption.size() && isEscapedAtEnd(c));
        if (escape) {
            appendEscaped(out, c);
        } else {
            out += c;
        }
    }
    return out;
}

std::string TabCaption::decode(const std::string &stored) {
    std::string out;
    out.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '%' && i + 2 < stored.size()) {
            const int high = hexValue(stored[i + 1]);
            const int low = hexValue(stored[i + 2]);
            const char decoded = static_cast<char>(high * 16 + low);
            // Only escapes encode() writes are decoded, so an older caption such as "100%AB"
            // keeps its text.
            if (high >= 0 && low >= 0 && isEscapable(decoded)) {
                out += decoded;
                i += 2;
                continue;
            }
        }
        out += stored[i];
    }
    return out;
}
