// ListingOrder: fast sorting of whole listings (folders first, natural name order).
#pragma once

#include "platform/shellitem.h"

#include <QList>

// Sorts a listing in the order of ShellItem::listingLess. Comparing items one by one
// reaches into a million scattered items and their keys, which costs a cache miss per
// comparison; this sort works on a contiguous array of key prefixes and reaches into the
// items only to break ties. Runs on any thread; items must not be changed meanwhile.
class ListingOrder {
public:
    static void sort(QList<ShellItem> &items);
};
