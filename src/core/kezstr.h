// kezstr: the table of the program's own texts (ids 65056..65119) and its accessor.
#pragma once

// Ids of the texts, named after their use; the table itself is resources/kezstr.inc.
enum class KezStr : int {
#define KEZSTR(id, name, text) name = id,
#include "../../resources/kezstr.inc"
#undef KEZSTR
};

// The UTF-8 text of an id; "" for an id the table lacks. The texts live for the whole run.
const char *kezstr(KezStr id);
const char *kezstr(int id);
