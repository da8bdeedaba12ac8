// UTF-8 / UTF-16 conversions and case-insensitive text helpers for byte-string names and paths.
#pragma once

#include <string>
#include <string_view>

// Code point that stands for an undecodable byte b: the lone surrogate 0xDC00 + b. Lone
// surrogates fold to themselves and are delimiters, so such bytes only match themselves.
constexpr char32_t kEscapedByteBase = 0xDC00;

// Decodes UTF-8 to code points; every byte of a malformed sequence becomes an escaped byte.
std::u32string DecodeUtf8(std::string_view text);

// Decodes one character at text[pos]; returns its code point and advances pos.
char32_t DecodeUtf8Char(std::string_view text, size_t &pos);

// UTF-8 to UTF-16; undecodable bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Folds one code point with the wide lower table (code points beyond 16 bits keep their value).
char32_t FoldChar(char32_t ch);

// True when every byte is below 0x80.
bool IsAscii(std::string_view text);

// True when both texts are equal after folding every character.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// Removes leading and trailing characters with a code of 32 or less.
std::string_view TrimBlanks(std::string_view text);
