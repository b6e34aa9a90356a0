#include "liba/Buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using liba::Buffer;

namespace {

Buffer buffer_of(const std::string& text)
{
    return Buffer(static_cast<std::int32_t>(text.size()), text.data());
}

std::string text_of(const Buffer& buffer)
{
    return std::string(
        reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(buffer.length()));
}

} // namespace

TEST(Buffer, StartsEmptyOrWithACopyOfItsSource)
{
    Buffer empty;
    EXPECT_EQ(empty.length(), 0);
    EXPECT_EQ(empty.offset(), 0);
    EXPECT_FALSE(empty.is_shared());

    char source[] = "abcdef";
    Buffer copy(6, source);
    source[0] = 'X';
    EXPECT_EQ(text_of(copy), "abcdef");
}

TEST(Buffer, WritingThroughOneViewNeverChangesAnother)
{
    Buffer original = buffer_of("0123456789");
    Buffer copy(original);
    Buffer slice(original, 2, 4);
    EXPECT_TRUE(original.is_shared());
    EXPECT_EQ(text_of(slice), "2345");

    copy.writable_data()[0] = 'C';
    EXPECT_EQ(text_of(copy), "C123456789");
    EXPECT_EQ(text_of(original), "0123456789");
    EXPECT_EQ(text_of(slice), "2345");

    // The slice gets its own storage of just its own bytes.
    slice.writable_data()[0] = 'S';
    EXPECT_EQ(slice.offset(), 0);
    EXPECT_EQ(text_of(slice), "S345");
    EXPECT_EQ(text_of(original), "0123456789");

    // The last view of a storage writes in place.
    EXPECT_FALSE(original.is_shared());
    const std::uint8_t* before = original.data();
    original.writable_data()[9] = 'O';
    EXPECT_EQ(original.data(), before);
    EXPECT_EQ(text_of(original), "012345678O");
}

TEST(Buffer, SliceOfASliceAddsTheOffsets)
{
    Buffer original = buffer_of("0123456789");
    Buffer outer(original, 3, 6);
    Buffer inner(outer, 2, 3);
    EXPECT_EQ(inner.offset(), 5);
    EXPECT_EQ(text_of(inner), "567");
}

TEST(Buffer, AssignmentSharesAndSelfAssignmentIsHarmless)
{
    Buffer a = buffer_of("first");
    Buffer b = buffer_of("second");
    b = a;
    EXPECT_EQ(text_of(b), "first");
    EXPECT_TRUE(a.is_shared());

    Buffer& same = a;
    a = same;
    EXPECT_EQ(text_of(a), "first");
    b = Buffer();
    // Only `a` holds "first" now.
    EXPECT_FALSE(a.is_shared());
}

TEST(Buffer, CopyFromClampsToTheSpaceLeft)
{
    Buffer target = buffer_of("..........");
    Buffer source = buffer_of("abcdef");
    EXPECT_EQ(target.copy_from(7, source), 3);
    EXPECT_EQ(text_of(target), ".......abc");
    EXPECT_EQ(target.copy_from(10, source), 0);
    EXPECT_EQ(target.copy_from(12, source), 0);
    EXPECT_EQ(text_of(target), ".......abc");
}

TEST(Buffer, CopyFromLeavesOtherViewsAlone)
{
    Buffer original = buffer_of("0123456789");
    Buffer view(original);
    view.copy_from(0, buffer_of("xy"));
    EXPECT_EQ(text_of(view), "xy23456789");
    EXPECT_EQ(text_of(original), "0123456789");
}

TEST(Buffer, CopyFromAnOverlappingSliceOfItsOwnStorage)
{
    Buffer whole = buffer_of("0123456789");
    Buffer tail(whole, 2, 8);
    EXPECT_EQ(whole.copy_from(0, tail), 8);
    EXPECT_EQ(text_of(whole), "2345678989");
    EXPECT_EQ(text_of(tail), "23456789");
}
