// Paging of the element index: at most one page is added per call, and only
// the last page is ever reallocated.
#include "xml/XmlDocument.h"

#include <algorithm>
#include <cstdint>

namespace xml {

namespace {

std::int32_t LastPageOf(std::int64_t records) {
    return records == 0 ? -1 : static_cast<std::int32_t>((records - 1) >> ElementIndex::PageBits);
}

} // namespace

void ElementIndex::ResizeLastPage(std::int32_t page, std::int32_t oldCount, std::int32_t newCount) {
    auto replacement = std::make_unique<ElementRecord[]>(static_cast<std::size_t>(newCount));
    if (pages[page] != nullptr)
        std::copy_n(pages[page].get(), std::min(oldCount, newCount), replacement.get());
    pages[page] = std::move(replacement);
}

void ElementIndex::Grow(std::int32_t n) {
    if (n <= allocated)
        return;
    const std::int32_t lastPage = LastPageOf(allocated);
    std::int64_t target = n;
    const std::int64_t nextPageEnd = static_cast<std::int64_t>(lastPage + 2) << PageBits;
    target = std::min(target, nextPageEnd);
    const std::int32_t newLastPage = LastPageOf(target);

    if (newLastPage >= pageTableCapacity) {
        const std::int32_t capacity = 2 * newLastPage + 4;
        auto table = std::make_unique<std::unique_ptr<ElementRecord[]>[]>(
            static_cast<std::size_t>(capacity));
        for (std::int32_t p = 0; p < pageTableCapacity; ++p)
            table[p] = std::move(pages[p]);
        pages = std::move(table);
        pageTableCapacity = capacity;
    }
    const std::int32_t usedInLast = lastPage < 0 ? 0 : allocated - (lastPage << PageBits);
    const std::int32_t wantedInNew =
        static_cast<std::int32_t>(target - (static_cast<std::int64_t>(newLastPage) << PageBits));
    if (newLastPage == lastPage) {
        ResizeLastPage(lastPage, usedInLast, wantedInNew);
    } else {
        if (lastPage >= 0 && usedInLast < PageSize)
            ResizeLastPage(lastPage, usedInLast, PageSize);
        ResizeLastPage(newLastPage, 0, wantedInNew);
    }
    allocated = static_cast<std::int32_t>(target);
}

void ElementIndex::Free() {
    pages.reset();
    allocated = 0;
    pageTableCapacity = 0;
}

} // namespace xml
