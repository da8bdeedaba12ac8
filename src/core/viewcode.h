// View codes 1..7 of the file list's seven view styles, as stored in the settings file.
#pragma once

#include <optional>

namespace xz {

// The seven view styles of the file list, in view-code order.
enum class ListViewStyle {
    Icon = 1,        // 图标
    SmallIcon = 2,   // 小图标
    List = 3,        // 列表
    Report = 4,      // 详细列表
    Thumbnail = 5,   // 缩略图
    Tile = 6,        // 标题模式
    ReportThumb = 7, // 缩略图列表
};

// The style of a view code; codes outside 1..7 name none.
std::optional<ListViewStyle> viewStyleFromCode(int code);

// The code of a style.
int viewCodeFromStyle(ListViewStyle style);

} // namespace xz
