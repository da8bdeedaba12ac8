// The status line text under the file list.
#include "core/statusline.h"

namespace xz {

std::string statusLineText(std::int64_t itemCount, std::int64_t selectedCount) {
    return "当前目录共有" + std::to_string(itemCount) + "个文件(夹)！其中选择了" +
           std::to_string(selectedCount) + "个文件(夹)！          ";
}

} // namespace xz
