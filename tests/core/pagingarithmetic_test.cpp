// Tests of the paging commands' offsets on a list of 100 rows.
#include "core/pagingarithmetic.h"

#include <gtest/gtest.h>

namespace {

// 100 rows of 20 pixels under a 24-pixel header, in a viewport of 300 pixels.
ScrollState hundredRows(int offset) {
    return ScrollState{offset, 300, 100 * 20, 24, 20};
}

TEST(PagingArithmetic, OffsetsOnAHundredRows) {
    const int largest = 2000 + 24 - 300;
    EXPECT_EQ(PagingArithmetic::maxOffset(hundredRows(0)), largest);
    struct Case {
        PagingCommand command;
        int from;
        std::optional<int> to;
    };
    const std::vector<Case> cases = {
        {PagingCommand::NextPage, 0, 280},        // one screen less one row
        {PagingCommand::NextPage, 280, 560},      //
        {PagingCommand::NextPage, 1600, largest}, // clamped at the end
        {PagingCommand::NextPage, largest, std::nullopt},
        {PagingCommand::PreviousPage, 560, 280},
        {PagingCommand::PreviousPage, 100, 0},
        {PagingCommand::PreviousPage, 0, std::nullopt}, // at the top nothing happens
        {PagingCommand::ToTop, 1234, 0},
        {PagingCommand::ToTop, 0, std::nullopt},
        {PagingCommand::ToBottom, 0, largest},
        {PagingCommand::ToBottom, largest, std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PagingArithmetic::targetOffset(c.command, hundredRows(c.from)), c.to)
            << static_cast<int>(c.command) << " from " << c.from;
    }
}

TEST(PagingArithmetic, RepeatedNextPageStopsAtTheEnd) {
    ScrollState state = hundredRows(0);
    int presses = 0;
    while (auto next = PagingArithmetic::targetOffset(PagingCommand::NextPage, state)) {
        state.offset = *next;
        ++presses;
    }
    EXPECT_EQ(state.offset, PagingArithmetic::maxOffset(state));
    EXPECT_EQ(presses, 7); // ceil(1724 / 280)
}

TEST(PagingArithmetic, EmptyAndShortLists) {
    const ScrollState empty{0, 300, 0, 24, std::nullopt};
    for (auto command : {PagingCommand::NextPage, PagingCommand::PreviousPage, PagingCommand::ToTop,
                         PagingCommand::ToBottom}) {
        EXPECT_EQ(PagingArithmetic::targetOffset(command, empty), std::nullopt);
    }
    EXPECT_EQ(PagingArithmetic::scrollAmount(PagingCommand::NextPage, empty), std::nullopt);
    EXPECT_EQ(PagingArithmetic::scrollAmount(PagingCommand::ToBottom, empty), 0);
    const ScrollState shortList{0, 300, 5 * 20, 24, 20}; // fits: nothing scrolls
    EXPECT_EQ(PagingArithmetic::targetOffset(PagingCommand::ToBottom, shortList), std::nullopt);
}

} // namespace
