#include "platform/gbk.h"

#include <gtest/gtest.h>

using namespace zolm;

TEST(Gbk, ConvertsBothWays)
{
    ASSERT_TRUE(gbkAvailable());
    const std::string bytes = toGbk(QStringLiteral("测斜-07"));
    EXPECT_EQ(bytes, std::string("\xB2\xE2\xD0\xB1-07"));
    EXPECT_EQ(fromGbk(bytes), QStringLiteral("测斜-07"));
    EXPECT_EQ(fromGbk("ABC"), QStringLiteral("ABC"));
    // A lone lead byte does not take the following terminator or crash.
    EXPECT_FALSE(fromGbk(std::string_view("\xB2", 1)).isNull());
}
