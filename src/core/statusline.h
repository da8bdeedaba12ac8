// The text of the main window's status line under the file list.
#pragma once

#include <cstdint>
#include <string>

namespace xz {

// "当前目录共有<items>个文件(夹)！其中选择了<selected>个文件(夹)！" followed by ten blanks (UTF-8).
std::string statusLineText(std::int64_t itemCount, std::int64_t selectedCount);

} // namespace xz
