#include "platform/heap_usage.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace pigmentaria {
namespace {

TEST(HeapUsageTest, CountsLiveBlocksAndTheirSize) {
    const THeapUsage before = HeapUsage();
    std::vector<std::unique_ptr<char[]>> blocks;
    blocks.reserve(100);
    for (int i = 0; i < 100; ++i)
        blocks.push_back(std::make_unique<char[]>(1000));
    const THeapUsage during = HeapUsage();
    EXPECT_GE(during.Blocks - before.Blocks, 101);
    EXPECT_GE(during.Bytes - before.Bytes, 100 * 1000);
    blocks.clear();
    blocks.shrink_to_fit();
    const THeapUsage after = HeapUsage();
    EXPECT_EQ(after.Blocks, before.Blocks);
    EXPECT_EQ(after.Bytes, before.Bytes);
}

} // namespace
} // namespace pigmentaria
