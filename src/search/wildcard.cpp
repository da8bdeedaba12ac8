// Wildcard matching with memoised backtracking over star runs.
#include "search/wildcard.h"

#include "search/chartables.h"
#include "search/utf8text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Matcher over one text and one mask, both as arrays of characters of type Unit. A call of
// match(ti, mi) depends only on the two positions, so failed states are remembered and the
// search stays polynomial when the mask holds several star runs.
template <typename Unit> class Matcher {
public:
    Matcher(const Unit *text, size_t textLength, const Unit *mask, size_t maskLength)
        : text_(text), textLength_(textLength), mask_(mask), maskLength_(maskLength),
          lower_(CharTables().WideLowerTable) {
        if (countStarRuns() > 1)
            failed_.assign((textLength_ + 1) * (maskLength_ + 1), 0);
    }

    bool match(size_t ti, size_t mi) {
        while (ti < textLength_ && mi < maskLength_ && mask_[mi] != '*') {
            if (mask_[mi] != '?' && fold(mask_[mi]) != fold(text_[ti]))
                return false;
            ++ti;
            ++mi;
        }
        if (ti < textLength_ && mi >= maskLength_)
            return false;
        while (mi < maskLength_ && (mask_[mi] == '*' || mask_[mi] == '?'))
            ++mi;
        if (ti >= textLength_ || mi >= maskLength_)
            return mi >= maskLength_;
        const char32_t wanted = fold(mask_[mi]);
        ++mi;
        while (ti < textLength_) {
            while (ti < textLength_ && fold(text_[ti]) != wanted)
                ++ti;
            if (ti >= textLength_)
                break;
            ++ti;
            if (alreadyFailed(ti, mi))
                continue;
            if (match(ti, mi))
                return true;
            markFailed(ti, mi);
        }
        return false;
    }

private:
    char32_t fold(Unit unit) const {
        const auto ch = static_cast<char32_t>(unit);
        return ch < 0x10000 ? lower_[ch] : ch;
    }
    size_t countStarRuns() const {
        size_t runs = 0;
        for (size_t i = 0; i < maskLength_; ++i)
            if (mask_[i] == '*' && (i == 0 || mask_[i - 1] != '*'))
                ++runs;
        return runs;
    }
    bool alreadyFailed(size_t ti, size_t mi) const {
        return !failed_.empty() && failed_[ti * (maskLength_ + 1) + mi];
    }
    void markFailed(size_t ti, size_t mi) {
        if (!failed_.empty())
            failed_[ti * (maskLength_ + 1) + mi] = 1;
    }

    const Unit *text_;
    size_t textLength_;
    const Unit *mask_;
    size_t maskLength_;
    const std::array<char16_t, 65536> &lower_;
    std::vector<uint8_t> failed_;
};

} // namespace

bool WildcardMatch(std::string_view text, std::string_view mask) {
    if (IsAscii(text) && IsAscii(mask)) {
        Matcher<unsigned char> matcher(
            reinterpret_cast<const unsigned char *>(text.data()), text.size(),
            reinterpret_cast<const unsigned char *>(mask.data()), mask.size());
        return matcher.match(0, 0);
    }
    const std::u32string decodedText = DecodeUtf8(text);
    const std::u32string decodedMask = DecodeUtf8(mask);
    Matcher<char32_t> matcher(decodedText.data(), decodedText.size(), decodedMask.data(),
                              decodedMask.size());
    return matcher.match(0, 0);
}
