// Phrase search inside files: single-byte, UTF-16 and UTF-8 text, chosen by the byte-order mark.
#pragma once

#include "search/contentoptions.h"
#include "search/readstream.h"
#include "search/stringvariants.h"

#include <string>
#include <string_view>

// Every scan reads its stream in blocks of this size.
constexpr size_t kPhraseReadBlock = 61440;

// Each scan returns whether the phrase occurs in the stream's text, inverted when csoNegate is
// set. Every occurrence counts, also one that overlaps a failed candidate or straddles two
// blocks. With csoWholeWord the characters before and after must not be letters or digits (the
// start and the end of the text count as delimiters).
bool ScanAnsiStream(TReadStream &stream, std::string_view phrase, TContentSearchOptions options);
bool ScanUtf16Stream(TReadStream &stream, std::u16string_view phrase, TContentSearchOptions options,
                     bool swapBytes);
bool ScanUtf8Stream(TReadStream &stream, std::string_view phrase, TContentSearchOptions options);

// Searches a file: after a UTF-16 byte-order mark (either order) for the Unicode variant, after
// a UTF-8 mark for the UTF-8 variant; a file without a mark is single-byte (Windows-1252) text,
// and when the phrase has characters beyond ASCII it is also searched as UTF-8, the usual
// encoding of text files here. Throws std::system_error when the file cannot be opened or read
// or is not a regular file.
bool FindPhraseInFile(const std::string &fileName, const TStringVariants &variants,
                      TContentSearchOptions options);

// The same for the file name inside the folder open as dirFd.
bool FindPhraseInFile(int dirFd, const char *name, const TStringVariants &variants,
                      TContentSearchOptions options);
