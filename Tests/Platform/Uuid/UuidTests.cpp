#include "Platform/Uuid/Uuid.h"

#include <gtest/gtest.h>

TEST(UuidParse, ReadsTheDigitsInTextOrderInEitherCase)
{
    Qel::Platform::Uuid lower;
    Qel::Platform::Uuid upper;
    ASSERT_TRUE(Qel::Platform::ParseUuid("3f2504e0-4f89-11d3-9a0c-0305e82c3301", lower));
    ASSERT_TRUE(Qel::Platform::ParseUuid("3F2504E0-4F89-11D3-9A0C-0305E82C3301", upper));
    EXPECT_EQ(lower, upper);
    EXPECT_EQ(lower[0], 0x3f);
    EXPECT_EQ(lower[3], 0xe0);
    EXPECT_EQ(lower[15], 0x01);

    Qel::Platform::Uuid every;
    ASSERT_TRUE(Qel::Platform::ParseUuid("01234567-89ab-cdef-ABCD-EF0123456789", every));
    EXPECT_EQ(every, (Qel::Platform::Uuid{0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef, 0xab, 0xcd, 0xef,
                                          0x01, 0x23, 0x45, 0x67, 0x89}));
}

TEST(UuidParse, RefusesEveryOtherFormAndLeavesZeros)
{
    for (const char* text : {"", "3f2504e0-4f89-11d3-9a0c-0305e82c33011",
                             "{3f2504e0-4f89-11d3-9a0c-0305e82c3301}", "3f2504e0-4f89-11d3-9a0c_0305e82c3301",
                             "3f2504e0-4f89-11d3-9a0c-0305e82c33 1", "3f2504e0a4f89-11d3-9a0c-0305e82c3301",
                             "3f2504e0-4f89-11d3-9a0c-0305e82c330", "3f2504e0-4f89-11d3-9a0c-0305e82c330g",
                             "3f2504e0-4f89-11d3-9a0c", "3f2504e0-4f89-11d3-9a0c-0305e82c3301-"})
    {
        Qel::Platform::Uuid parsed;
        parsed.fill(0xAB);
        EXPECT_FALSE(Qel::Platform::ParseUuid(text, parsed)) << text;
        EXPECT_EQ(parsed, Qel::Platform::Uuid{}) << text;
    }
    Qel::Platform::Uuid parsed;
    EXPECT_FALSE(Qel::Platform::ParseUuid(nullptr, parsed));
}
