// UTF-8 / UTF-16 conversions and case-insensitive text helpers.
#include "search/utf8text.h"

#include "search/chartables.h"

#include <cstdint>
#include <cstring>

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

void AppendUtf8(std::string &out, char32_t ch) {
    if (ch < 0x80) {
        out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (ch >> 18)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}

} // namespace

char32_t DecodeUtf8Char(std::string_view text, size_t &pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t ch = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, ch = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, ch = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, ch = lead & 0x07, minimum = 0x10000;
    }
    if (length == 0 || pos + length > text.size()) {
        ++pos;
        return kEscapedByteBase + lead;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(next)) {
            ++pos;
            return kEscapedByteBase + lead;
        }
        ch = (ch << 6) | (next & 0x3F);
    }
    if (ch < minimum || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
        ++pos;
        return kEscapedByteBase + lead;
    }
    pos += length;
    return ch;
}

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();)
        out.push_back(DecodeUtf8Char(text, pos));
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        char32_t ch = DecodeUtf8Char(text, pos);
        if (ch >= 0xD800 && ch <= 0xDFFF && pos == start + 1)
            ch = 0xFFFD;
        if (ch >= 0x10000) {
            ch -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (ch >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (ch & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(ch));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t ch = text[i];
        if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (ch >= 0xD800 && ch <= 0xDFFF) {
            ch = 0xFFFD;
        }
        AppendUtf8(out, ch);
    }
    return out;
}

char32_t FoldChar(char32_t ch) {
    return ch < 0x10000 ? CharTables().WideLowerTable[ch] : ch;
}

bool IsAscii(std::string_view text) {
    const char *p = text.data();
    size_t n = text.size();
    while (n >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL)
            return false;
        p += 8;
        n -= 8;
    }
    while (n--)
        if (static_cast<unsigned char>(*p++) >= 0x80)
            return false;
    return true;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size())
        if (FoldChar(DecodeUtf8Char(a, i)) != FoldChar(DecodeUtf8Char(b, j)))
            return false;
    return i == a.size() && j == b.size();
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);
    return text;
}
