#include "model/chunkedlist.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace brenvik {
namespace {

// Every index, through every way in, reaches the item added at it, and no item moves while
// the list grows: across the small chunks, the step to the full ones, and beyond.
template <std::size_t ChunkSize, std::size_t FirstChunk>
void CheckList(std::size_t n) {
    TChunkedList<std::string, ChunkSize, FirstChunk> list;
    std::vector<const std::string*> where;
    for (std::size_t i = 0; i < n; ++i) {
        list.push_back(std::to_string(i));
        where.push_back(&list.back());
        ASSERT_EQ(list.back(), std::to_string(i));
    }
    ASSERT_EQ(list.size(), n);
    std::size_t i = 0;
    for (const std::string& item : list) {
        ASSERT_EQ(item, std::to_string(i)) << "iterated";
        ASSERT_EQ(&list[i], where[i]) << "item " << i << " moved or is misplaced";
        ASSERT_EQ(&list.at(i), where[i]);
        ++i;
    }
    EXPECT_EQ(i, n);
    EXPECT_THROW(static_cast<void>(list.at(n)), std::out_of_range);
    list.clear();
    EXPECT_TRUE(list.empty());
    list.push_back("again");
    EXPECT_EQ(list.at(0), "again");
}

TEST(ChunkedList, IndexesEveryItemAcrossChunkSizes) {
    for (const std::size_t n : {0u, 1u, 15u, 16u, 17u, 47u, 48u, 495u, 496u, 497u, 1007u, 1008u, 1009u, 3000u}) {
        SCOPED_TRACE(n);
        CheckList<512, 16>(n);
        CheckList<512, 512>(n);  // no small chunks
        CheckList<8, 1>(n);
    }
}

}  // namespace
}  // namespace brenvik
