// The option set of a content (phrase) search.
#pragma once

#include <cstdint>

enum TContentSearchOption : uint8_t { csoCaseSensitive = 0, csoWholeWord = 1, csoNegate = 2 };

// A set of TContentSearchOption values; bit n stands for the option with value n.
struct TContentSearchOptions {
    uint8_t Bits = 0;

    constexpr bool Contains(TContentSearchOption option) const { return (Bits >> option) & 1; }
    constexpr TContentSearchOptions &Include(TContentSearchOption option) {
        Bits |= static_cast<uint8_t>(1u << option);
        return *this;
    }
    constexpr TContentSearchOptions &Exclude(TContentSearchOption option) {
        Bits &= static_cast<uint8_t>(~(1u << option));
        return *this;
    }
    friend constexpr bool operator==(TContentSearchOptions, TContentSearchOptions) = default;
};
