// Finds one phrase in a text that arrives block by block, in one encoding.
#pragma once

#include "search/contentoptions.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum class TTextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

// Looks for every occurrence of a phrase (not only the first candidate after a failed partial
// match), with letter case folded unless csoCaseSensitive is set and with word boundaries
// judged on whole characters when csoWholeWord is set. The caller keeps the text in one buffer
// and calls Process after each block; positions are absolute offsets from the first text byte
// (after any byte-order mark). KeepFrom says from which absolute offset the caller must keep the
// buffer's bytes for the next call, so phrases across block boundaries are found.
// csoNegate is not looked at here. Used by one thread at a time.
class TPhraseScanner {
public:
    // phrase holds the phrase's bytes in the file's encoding and byte order.
    TPhraseScanner(TTextEncoding encoding, std::string phrase, TContentSearchOptions options);

    // Scans buffer[0, length), whose first byte is at absolute offset base (negative while a
    // byte-order mark is still in the buffer). atEnd tells that no bytes follow. Returns true
    // once the phrase has been found.
    bool Process(const uint8_t *buffer, size_t length, long long base, bool atEnd);

    long long KeepFrom() const;
    // Whether this scanner was made with these arguments (so it can serve another file).
    bool PreparedFor(TTextEncoding encoding, const std::string &phrase,
                     TContentSearchOptions options) const {
        return encoding == encoding_ && options == options_ && phrase == original_;
    }
    // Forgets the previous text, for scanning a new one.
    void Restart() { next_ = 0; }
    bool Empty() const { return phrase_.empty(); }

private:
    bool bytePhraseAt(const uint8_t *buffer, size_t index) const;
    bool unitPhraseAt(const uint8_t *buffer, size_t index) const;
    bool boundariesHold(const uint8_t *buffer, size_t length, long long base, size_t index) const;
    bool scanBytes(const uint8_t *buffer, size_t length, long long base, size_t first,
                   size_t last) const;
    bool scanUnits(const uint8_t *buffer, size_t length, long long base, size_t first,
                   size_t last) const;
    char16_t unitAt(const uint8_t *p) const;
    size_t lookahead() const;

    TTextEncoding encoding_;
    std::string original_;
    std::string phrase_;
    std::vector<uint8_t> foldedBytes_;
    std::u16string foldedUnits_;
    TContentSearchOptions options_;
    const uint8_t *byteFold_ = nullptr;
    const char16_t *unitFold_ = nullptr;
    std::array<uint8_t, 256> asciiFold_{};
    std::vector<uint8_t> firstClass_; // bytes that fold to the phrase's first byte
    std::vector<uint8_t> lastClass_;  // bytes that fold to the phrase's last byte
    long long next_ = 0;              // first candidate offset not yet decided
};
