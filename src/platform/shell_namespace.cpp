#include "platform/shell_namespace.h"

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

std::size_t countAt(ConstItemIdList p) { return std::size_t(p[0]) | (std::size_t(p[1]) << 8); }

} // namespace

std::size_t IdListSize(ConstItemIdList list) {
    if (!list)
        return 0;
    std::size_t total = 0;
    // A count below 2 could not hold itself: it ends the list like the terminator.
    for (std::size_t cb; (cb = countAt(list + total)) >= 2;)
        total += cb;
    return total + 2;
}

ItemIdList IdListAlloc(std::size_t n) { return static_cast<ItemIdList>(std::calloc(n ? n : 1, 1)); }

ItemIdList IdListCopy(ConstItemIdList list) {
    std::size_t n = IdListSize(list);
    if (!n)
        return nullptr;
    ItemIdList copy = IdListAlloc(n);
    if (copy)
        std::memcpy(copy, list, n);
    return copy;
}

ItemIdList IdListConcat(ConstItemIdList parent, ConstItemIdList child) {
    if (!parent)
        return IdListCopy(child);
    std::size_t head = IdListSize(parent) - 2;
    std::size_t tail = child ? IdListSize(child) : 2;
    ItemIdList out = IdListAlloc(head + tail);
    if (!out)
        return nullptr;
    std::memcpy(out, parent, head);
    if (child)
        std::memcpy(out + head, child, tail); // a missing child leaves the zeroed terminator
    return out;
}

ItemIdList IdListParent(ItemIdList list) {
    if (!list)
        return list;
    std::size_t last = 0, at = 0;
    bool any = false;
    for (std::size_t cb; (cb = countAt(list + at)) >= 2; at += cb) {
        last = at;
        any = true;
    }
    if (any)
        list[last] = list[last + 1] = 0;
    return list;
}

void IdListFree(ItemIdList list) { std::free(list); }

bool IdList::operator==(const IdList& o) const {
    std::size_t n = size();
    return n == o.size() && (n == 0 || std::memcmp(p_, o.p_, n) == 0);
}

} // namespace platform
