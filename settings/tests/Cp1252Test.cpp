#include "settings/Cp1252.h"

#include <gtest/gtest.h>

namespace valdora {
namespace {

TEST(Cp1252Test, EveryByteRoundTrips)
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    const QString text = Cp1252::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_TRUE(Cp1252::canEncode(text));
    EXPECT_EQ(Cp1252::encode(text), all);
}

TEST(Cp1252Test, TheRangeThatDiffersFromLatin1)
{
    EXPECT_EQ(Cp1252::decode("\x80\x8A\x92\x93\x94\x96\x9F"),
              QStringLiteral("\u20AC\u0160\u2019\u201C\u201D\u2013\u0178"));
    EXPECT_EQ(Cp1252::decode("\xF8\xF9\xFA|"), QStringLiteral("\u00F8\u00F9\u00FA|"));
    EXPECT_EQ(Cp1252::encode(QStringLiteral("\u20AC caf\u00E9")), "\x80 caf\xE9");
}

TEST(Cp1252Test, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_FALSE(Cp1252::canEncode(QStringLiteral("\u4E2D")));
    EXPECT_EQ(Cp1252::encode(QStringLiteral("a\u4E2Db")), "a?b");
    EXPECT_EQ(Cp1252::encode(QStringLiteral("a\U0001F600b")), "a?b"); // one "?" for a surrogate pair
}

} // namespace
} // namespace valdora
