#include "Bit.h"

#include <gtest/gtest.h>

namespace {

TEST(Bit, MasksAtTheEdgesOfTheWord)
{
    EXPECT_EQ(Bit::bitSet(0), 0x00000001u);
    EXPECT_EQ(Bit::bitSet(31), 0x80000000u);
    EXPECT_EQ(Bit::bitSet(32), 0u);
    EXPECT_EQ(Bit::bitSet(255), 0u);

    EXPECT_EQ(Bit::bitSet(5, 4), 0u);
    EXPECT_EQ(Bit::bitSet(0, 31), 0xFFFFFFFFu);
    EXPECT_EQ(Bit::bitSet(0, 0), 0x00000001u);
    EXPECT_EQ(Bit::bitSet(31, 31), 0x80000000u);
    EXPECT_EQ(Bit::bitSet(8, 11), 0x00000F00u);
    EXPECT_EQ(Bit::bitSet(1, 30), 0x7FFFFFFEu);

    EXPECT_EQ(Bit::bitClear(3, 5), 0xFFFFFFC7u);
    EXPECT_EQ(Bit::bitClear(0, 31), 0u);
    EXPECT_EQ(Bit::bitClear(5, 4), 0xFFFFFFFFu);
    EXPECT_EQ(Bit::bitClear(31), 0x7FFFFFFFu);
    EXPECT_EQ(Bit::bitClear(32), 0xFFFFFFFFu);
}

TEST(Bit, ChangesInPlaceAndSingleBitValuesTouchOnlyTheirBits)
{
    unsigned int v = 0x0000F0F0u;
    Bit::bitSet(v, 0);
    EXPECT_EQ(v, 0x0000F0F1u);
    Bit::bitSet(v, 32);
    EXPECT_EQ(v, 0x0000F0F1u);
    EXPECT_EQ(Bit::bitSet(v, 28, 31), 0xF000F0F1u);
    EXPECT_EQ(v, 0xF000F0F1u);

    Bit::bitClear(v, 31);
    EXPECT_EQ(v, 0x7000F0F1u);
    Bit::bitClear(v, 4, 15);
    EXPECT_EQ(v, 0x70000001u);
    Bit::bitClear(v, 9, 8);
    EXPECT_EQ(v, 0x70000001u);

    v = 0x000000A5u; // bits 2, 3, 4: 1, 0, 0
    EXPECT_EQ(Bit::bitXor(v, 2, 4), 0x000000B9u);
    EXPECT_EQ(v, 0x000000B9u);
    EXPECT_EQ(Bit::bitXor(v, 2, 4), 0x000000A5u);
    EXPECT_EQ(Bit::bitXor(v, 0, 31), 0xFFFFFF5Au);
    Bit::bitXor(v, 31);
    EXPECT_EQ(v, 0x7FFFFF5Au);
    Bit::bitXor(v, 32);
    EXPECT_EQ(v, 0x7FFFFF5Au);

    const unsigned int ends = 0x80000001u;
    bool on = false;
    Bit::bitGetValue(ends, 0, on);
    EXPECT_TRUE(on);
    Bit::bitGetValue(ends, 31, on);
    EXPECT_TRUE(on);
    Bit::bitGetValue(ends, 1, on);
    EXPECT_FALSE(on);
    on = true;
    Bit::bitGetValue(ends, 32, on);
    EXPECT_FALSE(on);

    unsigned int w = 0x0000FF00u;
    Bit::bitSetValue(w, 0, true);
    Bit::bitSetValue(w, 8, false);
    Bit::bitSetValue(w, 9, true);
    Bit::bitSetValue(w, 1, false);
    EXPECT_EQ(w, 0x0000FE01u);
}

} // namespace
