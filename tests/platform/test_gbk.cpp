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

TEST(Gbk, NamesTheFirstCharacterItCannotHold)
{
    EXPECT_FALSE(firstCharNotInGbk(QStringLiteral("井队-7?")));
    EXPECT_FALSE(firstCharNotInGbk(QString()));
    // A character outside the basic plane is one character (a surrogate pair), named whole.
    EXPECT_EQ(firstCharNotInGbk(QStringLiteral("井😀队😃")), QStringLiteral("😀"));
    const QString lone(QChar(0xD83D));
    EXPECT_EQ(firstCharNotInGbk(QStringLiteral("a") + lone), lone);
}
