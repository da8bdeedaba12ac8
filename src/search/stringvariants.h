// A search phrase in the three encodings that text files use.
#pragma once

#include <string>
#include <string_view>

// The phrase as Windows-1252 bytes (the single-byte encoding of files without a byte-order
// mark), as UTF-16 and as UTF-8. AnsiComplete is false when the code page lacks a character of
// the phrase (it then stands as "?" in Ansi, which no longer means the phrase).
struct TStringVariants {
    std::string Ansi;
    std::u16string Unicode;
    std::string Utf8;
    bool AnsiComplete = true;
};

// Builds the three variants of a UTF-8 phrase.
TStringVariants MakeStringVariants(std::string_view phrase);
