#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

namespace {

using xml::ElementIndex;

TEST(ElementIndex, GrowsAtMostOnePageAtATime) {
    ElementIndex index;
    EXPECT_FALSE(index.HasPages());
    index.Grow(10);
    EXPECT_TRUE(index.HasPages());
    EXPECT_EQ(index.Allocated(), 10);
    EXPECT_EQ(index.PageTableCapacity(), 4);
    index[9].start = 99;
    // The partial first page is filled and exactly one more page added.
    index.Grow(300000);
    EXPECT_EQ(index.Allocated(), 2 * ElementIndex::PageSize);
    EXPECT_EQ(index[9].start, 99) << "records survive the last page's reallocation";
    index[2 * ElementIndex::PageSize - 1].start = 7;
    index.Grow(300000);
    EXPECT_EQ(index.Allocated(), 3 * ElementIndex::PageSize);
    EXPECT_EQ(index[2 * ElementIndex::PageSize - 1].start, 7);
    index.Grow(5);
    EXPECT_EQ(index.Allocated(), 3 * ElementIndex::PageSize);
}

TEST(ElementIndex, PageTableDoublesPastItsCapacity) {
    ElementIndex index;
    for (int i = 0; i < 5; ++i)
        index.Grow(index.Allocated() + ElementIndex::PageSize);
    EXPECT_EQ(index.Allocated(), 5 * ElementIndex::PageSize);
    EXPECT_EQ(index.PageTableCapacity(), 2 * 4 + 4);
    index[4 * ElementIndex::PageSize + 3].parent = 42;
    EXPECT_EQ(index[4 * ElementIndex::PageSize + 3].parent, 42);
    index.Free();
    EXPECT_FALSE(index.HasPages());
    EXPECT_EQ(index.Allocated(), 0);
    EXPECT_EQ(index.PageTableCapacity(), 0);
}

TEST(ElementIndex, PartialLastPageIsFilledBeforeTheNextStarts) {
    ElementIndex index;
    index.Grow(100);
    index[99].length = 5;
    index.Grow(ElementIndex::PageSize + 100);
    EXPECT_EQ(index.Allocated(), ElementIndex::PageSize + 100);
    EXPECT_EQ(index[99].length, 5);
    index[ElementIndex::PageSize + 99].length = 6;
    EXPECT_EQ(index[ElementIndex::PageSize + 99].length, 6);
}

} // namespace
