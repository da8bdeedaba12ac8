// View codes of the file list's view styles.
#include "core/viewcode.h"

namespace xz {

std::optional<ListViewStyle> viewStyleFromCode(int code) {
    if (code < static_cast<int>(ListViewStyle::Icon) ||
        code > static_cast<int>(ListViewStyle::ReportThumb))
        return std::nullopt;
    return static_cast<ListViewStyle>(code);
}

int viewCodeFromStyle(ListViewStyle style) {
    return static_cast<int>(style);
}

} // namespace xz
