// ListingOrder: prefix-array sort with full-key tie breaks.
#include "platform/listingorder.h"

#include "platform/shellitemdata.h"

#include <algorithm>
#include <vector>

namespace {

// The folder rank and the first 15 key bytes as two big-endian words: most comparisons end
// here without touching the items.
struct Slot {
    quint64 high; // bits 61..63: listing rank; bits 0..55: key bytes 0..6
    quint64 low;  // key bytes 7..14
    quint32 index;
};

Slot slotOf(const ShellItem &item, quint32 index) {
    const QByteArray key = item.sortKey();
    const auto *k = reinterpret_cast<const uchar *>(key.constData());
    const qsizetype n = key.size();
    const ShellItemData *d = item.data();
    Slot s{quint64(d ? d->listingRank() : 0) << 61, 0, index};
    for (qsizetype i = 0; i < std::min<qsizetype>(n, 7); ++i)
        s.high |= quint64(k[i]) << (8 * (6 - i));
    for (qsizetype i = 7; i < std::min<qsizetype>(n, 15); ++i)
        s.low |= quint64(k[i]) << (8 * (14 - i));
    return s;
}

} // namespace

void ListingOrder::sort(QList<ShellItem> &items) {
    const qsizetype n = items.size();
    std::vector<Slot> order;
    order.reserve(size_t(n));
    for (qsizetype i = 0; i < n; ++i)
        order.push_back(slotOf(items[i], quint32(i)));
    std::sort(order.begin(), order.end(), [&items](const Slot &a, const Slot &b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        // Same rank and same 15 key bytes: only the rest of the keys and the names
        // can differ.
        const ShellItemData *da = items[a.index].data();
        const ShellItemData *db = items[b.index].data();
        if (!da || !db)
            return da < db;
        int c = da->sortKey.compare(db->sortKey);
        return c != 0 ? c < 0 : da->name < db->name;
    });
    QList<ShellItem> sorted;
    sorted.reserve(n);
    for (const Slot &s : order)
        sorted.append(std::move(items[s.index]));
    items = std::move(sorted);
}
