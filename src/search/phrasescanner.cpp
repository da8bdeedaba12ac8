// Finds one phrase in a text that arrives block by block, in one encoding.
#include "search/phrasescanner.h"

#include "search/chartables.h"
#include "search/utf8text.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Bytes kept before the first undecided candidate: room for the previous character (at most 4
// bytes in UTF-8, 2 in UTF-16) when the whole-word test looks at it.
constexpr long long kContextBytes = 8;

bool IsContinuation(uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

std::vector<uint8_t> FoldClass(const uint8_t *fold, uint8_t byte) {
    std::vector<uint8_t> members;
    for (unsigned b = 0; b < 256; ++b)
        if (fold[b] == fold[byte])
            members.push_back(static_cast<uint8_t>(b));
    return members;
}

// One UTF-8 character from bytes [p, end) as a delimiter flag; empty, malformed and characters
// outside the 16-bit range count as delimiters.
bool Utf8CharIsDelimiter(const uint8_t *p, size_t count) {
    if (count == 0)
        return true;
    const std::string_view text(reinterpret_cast<const char *>(p), count);
    size_t pos = 0;
    const char32_t ch = DecodeUtf8Char(text, pos);
    if (pos != count || ch > 0xFFFF || (ch >= 0xD800 && ch <= 0xDFFF))
        return true;
    return CharTables().WideDelimiterTable[ch] != 0;
}

size_t Utf8SequenceLength(uint8_t lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

} // namespace

TPhraseScanner::TPhraseScanner(TTextEncoding encoding, std::string phrase,
                               TContentSearchOptions options)
    : encoding_(encoding), original_(phrase), phrase_(std::move(phrase)), options_(options) {
    const TCharTables &tables = CharTables();
    const bool caseSensitive = options_.Contains(csoCaseSensitive);
    for (unsigned b = 0; b < 256; ++b)
        asciiFold_[b] = static_cast<uint8_t>(b >= 'A' && b <= 'Z' ? b + 32 : b);
    if (encoding_ == TTextEncoding::Ansi || encoding_ == TTextEncoding::Utf8) {
        // UTF-8 folds ASCII letters only: folding its lead and continuation bytes with a
        // single-byte code page's table would make unrelated characters equal.
        if (caseSensitive)
            byteFold_ = tables.AnsiIdentityTable.data();
        else if (encoding_ == TTextEncoding::Ansi)
            byteFold_ = tables.AnsiLowerTable.data();
        else
            byteFold_ = asciiFold_.data();
        for (char c : phrase_)
            foldedBytes_.push_back(byteFold_[static_cast<uint8_t>(c)]);
        if (!phrase_.empty()) {
            firstClass_ = FoldClass(byteFold_, static_cast<uint8_t>(phrase_.front()));
            lastClass_ = FoldClass(byteFold_, static_cast<uint8_t>(phrase_.back()));
        }
    } else {
        unitFold_ = caseSensitive ? tables.WideIdentityTable.data() : tables.WideLowerTable.data();
        phrase_.resize(phrase_.size() & ~size_t(1));
        for (size_t i = 0; i < phrase_.size(); i += 2)
            foldedUnits_.push_back(
                unitFold_[unitAt(reinterpret_cast<const uint8_t *>(phrase_.data()) + i)]);
    }
}

char16_t TPhraseScanner::unitAt(const uint8_t *p) const {
    return encoding_ == TTextEncoding::Utf16BE ? static_cast<char16_t>((p[0] << 8) | p[1])
                                               : static_cast<char16_t>(p[0] | (p[1] << 8));
}

size_t TPhraseScanner::lookahead() const {
    if (!options_.Contains(csoWholeWord))
        return 0;
    switch (encoding_) {
    case TTextEncoding::Ansi:
        return 1;
    case TTextEncoding::Utf8:
        return 4;
    default:
        return 2;
    }
}

long long TPhraseScanner::KeepFrom() const {
    return next_ - kContextBytes;
}

bool TPhraseScanner::Process(const uint8_t *buffer, size_t length, long long base, bool atEnd) {
    const size_t phraseLength = phrase_.size();
    if (phraseLength == 0)
        return true;
    const long long firstIndex = std::max<long long>(next_ - base, 0);
    // Candidates whose following character is not in the buffer yet wait for the next block.
    const size_t reserve = phraseLength + (atEnd ? 0 : lookahead());
    if (length < reserve || static_cast<long long>(length - reserve) < firstIndex)
        return false;
    const size_t first = static_cast<size_t>(firstIndex);
    const size_t last = length - reserve;
    next_ = base + static_cast<long long>(last) + 1;
    if (encoding_ == TTextEncoding::Ansi || encoding_ == TTextEncoding::Utf8)
        return scanBytes(buffer, length, base, first, last);
    return scanUnits(buffer, length, base, first, last);
}

bool TPhraseScanner::bytePhraseAt(const uint8_t *buffer, size_t index) const {
    const uint8_t *text = buffer + index;
    if (byteFold_ == CharTables().AnsiIdentityTable.data())
        return std::memcmp(text, phrase_.data(), phrase_.size()) == 0;
    for (size_t k = 0; k < foldedBytes_.size(); ++k)
        if (byteFold_[text[k]] != foldedBytes_[k])
            return false;
    return true;
}

bool TPhraseScanner::unitPhraseAt(const uint8_t *buffer, size_t index) const {
    for (size_t k = 0; k < foldedUnits_.size(); ++k)
        if (unitFold_[unitAt(buffer + index + 2 * k)] != foldedUnits_[k])
            return false;
    return true;
}

bool TPhraseScanner::boundariesHold(const uint8_t *buffer, size_t length, long long base,
                                    size_t index) const {
    const TCharTables &tables = CharTables();
    const long long absolute = base + static_cast<long long>(index);
    const size_t after = index + phrase_.size();
    switch (encoding_) {
    case TTextEncoding::Ansi: {
        const bool before = absolute == 0 || tables.AnsiDelimiterTable[buffer[index - 1]];
        return before && (after >= length || tables.AnsiDelimiterTable[buffer[after]]);
    }
    case TTextEncoding::Utf8: {
        if (IsContinuation(buffer[index]))
            return false;
        if (options_.Contains(csoWholeWord) == false)
            return true;
        if (absolute > 0) {
            // The previous character: back over continuation bytes to its first byte.
            size_t start = index - 1;
            const long long textStart = static_cast<long long>(index) - absolute;
            while (IsContinuation(buffer[start]) && index - start < 4 &&
                   static_cast<long long>(start) > textStart)
                --start;
            if (!Utf8CharIsDelimiter(buffer + start, index - start))
                return false;
        }
        if (after >= length)
            return true;
        const size_t count = std::min(Utf8SequenceLength(buffer[after]), length - after);
        return Utf8CharIsDelimiter(buffer + after, count);
    }
    default: {
        const bool before = absolute == 0 || tables.WideDelimiterTable[unitAt(buffer + index - 2)];
        return before && (after + 2 > length || tables.WideDelimiterTable[unitAt(buffer + after)]);
    }
    }
}

bool TPhraseScanner::scanBytes(const uint8_t *buffer, size_t length, long long base, size_t first,
                               size_t last) const {
    const bool wholeWord = options_.Contains(csoWholeWord);
    const bool checkBoundaries = wholeWord || encoding_ == TTextEncoding::Utf8;
    auto candidate = [&](size_t index) {
        return bytePhraseAt(buffer, index) &&
               (!checkBoundaries || boundariesHold(buffer, length, base, index));
    };
    size_t i = first;
#if defined(__SSE2__)
    if (firstClass_.size() <= 2 && lastClass_.size() <= 2) {
        const size_t lastOffset = phrase_.size() - 1;
        const __m128i firstA = _mm_set1_epi8(static_cast<char>(firstClass_.front()));
        const __m128i firstB = _mm_set1_epi8(static_cast<char>(firstClass_.back()));
        const __m128i lastA = _mm_set1_epi8(static_cast<char>(lastClass_.front()));
        const __m128i lastB = _mm_set1_epi8(static_cast<char>(lastClass_.back()));
        for (; i + 15 <= last; i += 16) {
            const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i *>(buffer + i));
            const __m128i tail =
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(buffer + i + lastOffset));
            const __m128i hits = _mm_and_si128(
                _mm_or_si128(_mm_cmpeq_epi8(head, firstA), _mm_cmpeq_epi8(head, firstB)),
                _mm_or_si128(_mm_cmpeq_epi8(tail, lastA), _mm_cmpeq_epi8(tail, lastB)));
            unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hits));
            while (bits) {
                if (candidate(i + static_cast<size_t>(__builtin_ctz(bits))))
                    return true;
                bits &= bits - 1;
            }
        }
    }
#endif
    const uint8_t firstFolded = foldedBytes_.front();
    for (; i <= last; ++i)
        if (byteFold_[buffer[i]] == firstFolded && candidate(i))
            return true;
    return false;
}

bool TPhraseScanner::scanUnits(const uint8_t *buffer, size_t length, long long base, size_t first,
                               size_t last) const {
    if (foldedUnits_.empty())
        return true;
    const bool wholeWord = options_.Contains(csoWholeWord);
    size_t i = first;
    if ((base + static_cast<long long>(i)) & 1)
        ++i;
    const char16_t firstUnit = foldedUnits_.front();
    for (; i <= last; i += 2)
        if (unitFold_[unitAt(buffer + i)] == firstUnit && unitPhraseAt(buffer, i) &&
            (!wholeWord || boundariesHold(buffer, length, base, i)))
            return true;
    return false;
}
