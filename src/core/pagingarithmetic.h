// PagingArithmetic: the scroll arithmetic of the four paging commands of the file list.
#pragma once

#include <optional>

enum class PagingCommand {
    NextPage,     // one screen down, less one row
    PreviousPage, // one screen up, less one row
    ToTop,
    ToBottom,
};

// What the paging commands read from the list, in pixels.
struct ScrollState {
    int offset = 0;         // current vertical offset from the top of the content
    int viewportHeight = 0; // V: height of the visible client area
    int contentHeight = 0;  // C: height of the laid-out content
    int headerHeight = 0;   // height of a column header above the content, 0 without one
    std::optional<int> firstItemHeight; // H: height of item 0's cell; empty when there are no items
};

// Pure functions; usable from any thread.
class PagingArithmetic {
public:
    // The largest offset: content plus header minus the viewport, not less than 0.
    static int maxOffset(const ScrollState &state);
    // The amount a command scrolls by, or nothing when it cannot run (paging an empty list).
    static std::optional<int> scrollAmount(PagingCommand command, const ScrollState &state);
    // The offset after the command, or nothing when the offset does not change.
    static std::optional<int> targetOffset(PagingCommand command, const ScrollState &state);
};
