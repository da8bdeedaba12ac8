// One file mask prepared for testing many directory entries quickly.
#include "search/namemask.h"

#include "search/utf8text.h"
#include "search/wildcard.h"

#include <algorithm>

namespace {

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

unsigned char LowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(LowerAscii(static_cast<unsigned char>(c)));
    return out;
}

bool EqualLowerAscii(const char *name, const std::string &lowerLiteral) {
    for (size_t i = 0; i < lowerLiteral.size(); ++i)
        if (LowerAscii(static_cast<unsigned char>(name[i])) !=
            static_cast<unsigned char>(lowerLiteral[i]))
            return false;
    return true;
}

} // namespace

TNameMask::TNameMask(std::string mask) : mask_(std::move(mask)) {
    if (mask_ == "*" || mask_ == "*.*") {
        shape_ = Shape::Everything;
        return;
    }
    if (mask_.size() >= 2 && mask_.ends_with(".*")) {
        dotStarSuffix_ = true;
        withoutDotStar_ = mask_.substr(0, mask_.size() - 2);
    }
    if (dotStarSuffix_ || !IsAscii(mask_))
        return;
    const std::string_view view = mask_;
    if (!HasWildcard(view)) {
        shape_ = Shape::Exact;
        literal_ = LowerAscii(view);
    } else if (view.size() >= 2 && view.front() == '*' && view.back() == '*' &&
               !HasWildcard(view.substr(1, view.size() - 2))) {
        shape_ = Shape::Contains;
        literal_ = LowerAscii(view.substr(1, view.size() - 2));
    } else if (view.front() == '*' && !HasWildcard(view.substr(1))) {
        shape_ = Shape::Suffix;
        literal_ = LowerAscii(view.substr(1));
    } else if (view.back() == '*' && !HasWildcard(view.substr(0, view.size() - 1))) {
        shape_ = Shape::Prefix;
        literal_ = LowerAscii(view.substr(0, view.size() - 1));
    }
}

bool TNameMask::Matches(std::string_view name) const {
    if (shape_ == Shape::Everything)
        return true;
    if (shape_ != Shape::General && IsAscii(name))
        return matchesShape(name);
    if (WildcardMatch(name, mask_))
        return true;
    return dotStarSuffix_ && WildcardMatch(name, withoutDotStar_);
}

bool TNameMask::matchesShape(std::string_view name) const {
    const size_t n = literal_.size();
    switch (shape_) {
    case Shape::Exact:
        return name.size() == n && EqualLowerAscii(name.data(), literal_);
    case Shape::Suffix:
        return name.size() >= n && EqualLowerAscii(name.data() + name.size() - n, literal_);
    case Shape::Prefix:
        return name.size() >= n && EqualLowerAscii(name.data(), literal_);
    case Shape::Contains: {
        if (name.size() < n)
            return false;
        for (size_t i = 0; i + n <= name.size(); ++i)
            if (EqualLowerAscii(name.data() + i, literal_))
                return true;
        return false;
    }
    default:
        return true;
    }
}
