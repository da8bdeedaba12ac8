// One file mask prepared for testing many directory entries quickly.
#pragma once

#include <string>
#include <string_view>

// A mask as the directory enumeration applies it to entry names: the rules of WildcardMatch,
// plus "*.*" matching every name and a mask ending in ".*" also matching the names that the
// mask without ".*" matches (so "*.*" and "readme.*" also find names without an extension).
// Common shapes of ASCII masks ("*", "*.ext", "prefix*", "*part*", "name") are answered by
// direct comparisons; everything else goes through WildcardMatch. Immutable after
// construction, so one instance may be used from any thread.
class TNameMask {
public:
    explicit TNameMask(std::string mask);

    const std::string &Mask() const { return mask_; }
    bool Matches(std::string_view name) const;

private:
    enum class Shape { Everything, Suffix, Prefix, Contains, Exact, General };

    bool matchesShape(std::string_view name) const;

    std::string mask_;
    std::string literal_; // lower-case literal part of the fast shapes
    std::string withoutDotStar_;
    bool dotStarSuffix_ = false;
    Shape shape_ = Shape::General;
};
