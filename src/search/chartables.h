// Case-folding and word-boundary tables shared by every matcher of the search engine.
#pragma once

#include <array>
#include <cstdint>

// The six lookup tables of the matchers. Built once (before main runs and at the latest on first
// use) and read-only afterwards, so worker threads may read them without locks. The single-byte
// tables describe Windows-1252, the code page that stands for the single-byte encoding of text
// files without a byte-order mark; the wide tables describe UTF-16 units (Unicode rules of the
// C.UTF-8 locale, with an ASCII/Latin-1 fallback when that locale is missing).
struct TCharTables {
    std::array<uint8_t, 256> AnsiIdentityTable;
    std::array<uint8_t, 256> AnsiLowerTable;
    std::array<uint8_t, 256> AnsiDelimiterTable;
    std::array<char16_t, 65536> WideIdentityTable;
    std::array<char16_t, 65536> WideLowerTable;
    std::array<uint8_t, 65536> WideDelimiterTable;
};

// Builds the tables on the first call and returns them; later calls return the same tables.
const TCharTables &BuildCharTables();

// The tables, built if needed.
inline const TCharTables &CharTables() {
    static const TCharTables &tables = BuildCharTables();
    return tables;
}

// The Unicode character that a Windows-1252 byte stands for (0xFFFD for the five unused bytes).
char16_t Cp1252ToUnicode(uint8_t byte);

// The Windows-1252 byte of a Unicode character, or -1 when the code page lacks it.
int UnicodeToCp1252(char32_t ch);
