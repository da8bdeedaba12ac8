// kezstr: lookup in the compiled-in text table.
#include "core/kezstr.h"

namespace {

struct Entry {
    int id;
    const char *text;
};

constexpr Entry kTable[] = {
#define KEZSTR(id, name, text) {id, text},
#include "../../resources/kezstr.inc"
#undef KEZSTR
};

} // namespace

const char *kezstr(int id) {
    for (const Entry &e : kTable)
        if (e.id == id)
            return e.text;
    return "";
}

const char *kezstr(KezStr id) {
    return kezstr(static_cast<int>(id));
}
