// PagingArithmetic: amounts and clamping of the paging commands.
#include "core/pagingarithmetic.h"

#include <algorithm>

int PagingArithmetic::maxOffset(const ScrollState &state) {
    return std::max(0, state.contentHeight + state.headerHeight - state.viewportHeight);
}

std::optional<int> PagingArithmetic::scrollAmount(PagingCommand command, const ScrollState &state) {
    switch (command) {
    case PagingCommand::NextPage:
        if (!state.firstItemHeight) {
            return std::nullopt;
        }
        return state.viewportHeight - *state.firstItemHeight;
    case PagingCommand::PreviousPage:
        if (!state.firstItemHeight) {
            return std::nullopt;
        }
        return *state.firstItemHeight - state.viewportHeight;
    case PagingCommand::ToTop:
        return -state.contentHeight;
    case PagingCommand::ToBottom:
        return state.contentHeight;
    }
    return std::nullopt;
}

std::optional<int> PagingArithmetic::targetOffset(PagingCommand command, const ScrollState &state) {
    const std::optional<int> amount = scrollAmount(command, state);
    if (!amount) {
        return std::nullopt;
    }
    const int target = std::clamp(state.offset + *amount, 0, maxOffset(state));
    if (target == state.offset) {
        return std::nullopt;
    }
    return target;
}
