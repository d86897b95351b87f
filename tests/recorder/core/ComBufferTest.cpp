#include "core/run/ComBuffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrin {
namespace {

std::vector<uint8_t> counting(int n, int from = 0) {
    std::vector<uint8_t> v;
    for (int i = 0; i < n; ++i) v.push_back(static_cast<uint8_t>((from + i) & 0xFF));
    return v;
}

TEST(ComBuffer, TakeAndLookWalkTheSameBytesIndependently) {
    ComBuffer ring;
    EXPECT_EQ(ring.Put(counting(5)), 0);
    ring.RestartLook();
    EXPECT_EQ(ring.LookByte(), 0);
    EXPECT_EQ(ring.LookByte(), 1);
    EXPECT_EQ(ring.LookByteCount(), 3);
    EXPECT_EQ(ring.ByteCount(), 5);
    EXPECT_EQ(ring.TakeByte(), 0);
    EXPECT_EQ(ring.TakeIndex(), 1);
    EXPECT_EQ(ring.ByteCount(), 4);
    ring.RestartLook();
    EXPECT_EQ(ring.LookIndex(), 1);
    EXPECT_EQ(ring.LookByteCount(), 4);
}

TEST(ComBuffer, NothingLeftReadsZeroAndMovesNothing) {
    ComBuffer ring;
    EXPECT_EQ(ring.TakeByte(), 0);
    EXPECT_EQ(ring.LookByte(), 0);
    EXPECT_EQ(ring.TakeIndex(), 0);
    EXPECT_EQ(ring.ByteCount(), 0);
    EXPECT_EQ(ring.LookByteCount(), 0);
}

// The put index at the last slot, at the end and one past it.
TEST(ComBuffer, IndexesWrapAtTheRingEnd) {
    for (const int fill : {ComBuffer::kSize - 1, ComBuffer::kSize, ComBuffer::kSize + 1}) {
        SCOPED_TRACE(fill);
        ComBuffer ring;
        // Fill and drain in pieces so that nothing is dropped.
        int put = 0;
        while (put < fill) {
            const int n = std::min(1000, fill - put);
            ASSERT_EQ(ring.Put(counting(n, put)), 0);
            for (int i = 0; i < n; ++i) ring.TakeByte();
            put += n;
        }
        EXPECT_EQ(ring.PutIndex(), fill % ComBuffer::kSize);
        EXPECT_EQ(ring.TakeIndex(), fill % ComBuffer::kSize);
        ASSERT_EQ(ring.Put(counting(3, 200)), 0);
        EXPECT_EQ(ring.TakeByte(), 200);
        EXPECT_EQ(ring.TakeByte(), 201);
        EXPECT_EQ(ring.TakeByte(), 202);
        EXPECT_EQ(ring.ByteCount(), 0);
    }
}

// One byte short of full, full, and one more: the oldest unread byte goes.
TEST(ComBuffer, AFullRingDropsTheOldestUnreadBytes) {
    const struct {
        int put;
        int dropped;
    } cases[] = {{ComBuffer::kSize - 1, 0}, {ComBuffer::kSize, 0}, {ComBuffer::kSize + 1, 1},
                 {3 * ComBuffer::kSize + 7, 2 * ComBuffer::kSize + 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.put);
        ComBuffer ring;
        EXPECT_EQ(ring.Put(counting(c.put)), c.dropped);
        EXPECT_EQ(ring.ByteCount(), c.put - c.dropped);
        EXPECT_EQ(ring.TakeByte(), static_cast<uint8_t>(c.dropped & 0xFF));
        EXPECT_LE(ring.ByteCount(), ComBuffer::kSize);
    }
}

TEST(ComBuffer, AtWrapsBothWays) {
    ComBuffer ring;
    ring.Put(counting(3, 7));
    EXPECT_EQ(ring.At(ComBuffer::kSize + 1), 8);
    EXPECT_EQ(ring.At(-ComBuffer::kSize + 2), 9);
}

}  // namespace
}  // namespace tavrin
