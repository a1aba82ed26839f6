#include "settings/IniDocument.h"

#include <gtest/gtest.h>

namespace valdora {
namespace {

TEST(IniDocumentTest, KeepsLinesVerbatimAndWritesCrlf)
{
    const QByteArray text = "  ; comment\n[ Settings ]\nName = A\n\njunk line\r\n[Settings]\nName=B\nLast=1";
    const IniDocument document = IniDocument::parse(text, IniEncoding::Cp1252);
    EXPECT_EQ(
        document.serialize(),
        "  ; comment\r\n[ Settings ]\r\nName = A\r\n\r\njunk line\r\n[Settings]\r\nName=B\r\nLast=1\r\n");
    // The first section and the first key of a name count.
    EXPECT_EQ(document.value(u"settings", u"name"), QStringLiteral("A"));
    EXPECT_EQ(document.value(u"Settings", u"Last"), std::nullopt);
    EXPECT_EQ(document.sectionNames(), QStringList{QStringLiteral("Settings")});
    EXPECT_EQ(document.value(u"Settings", u"; comment"), std::nullopt);
}

TEST(IniDocumentTest, EmptyAndBlankFiles)
{
    EXPECT_EQ(IniDocument::parse("", IniEncoding::Cp1252).serialize(), "");
    EXPECT_EQ(IniDocument::parse(" \r\n", IniEncoding::Cp1252).serialize(), " \r\n");
    IniDocument blank = IniDocument::parse(" \r\n", IniEncoding::Cp1252);
    ASSERT_TRUE(
        blank.setValue(QStringLiteral("Settings"), QStringLiteral("IniLocation"), QStringLiteral("x")));
    EXPECT_EQ(blank.serialize(), " \r\n[Settings]\r\nIniLocation=x\r\n");
}

TEST(IniDocumentTest, ByteOrderMarkMakesTheFileUtf8AndStays)
{
    IniDocument document =
        IniDocument::parse("\xEF\xBB\xBF[Settings]\nName=caf\xC3\xA9\n", IniEncoding::Cp1252);
    EXPECT_EQ(document.value(u"Settings", u"Name"), QStringLiteral("caf\u00E9"));
    ASSERT_TRUE(document.setValue(QStringLiteral("Settings"), QStringLiteral("Type"), QStringLiteral("1")));
    EXPECT_EQ(document.serialize(), "\xEF\xBB\xBF[Settings]\r\nName=caf\xC3\xA9\r\nType=1\r\n");
}

// A second mark after the first is text of the first line; it must survive a write and a read.
TEST(IniDocumentTest, SecondByteOrderMarkIsKeptAsText)
{
    for (const QByteArray& input : {QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF]"),
                                    QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF[A]\nx=1")}) {
        const QByteArray written = IniDocument::parse(input, IniEncoding::Cp1252).serialize();
        EXPECT_TRUE(written.startsWith(input.first(6))) << written.toHex().constData();
        EXPECT_EQ(IniDocument::parse(written, IniEncoding::Cp1252).serialize(), written);
    }
}

TEST(IniDocumentTest, RemoveSectionRemovesEveryCopyAndItsLines)
{
    IniDocument document =
        IniDocument::parse("[A]\nx=1\n[B]\n; of B\ny=2\n[a]\nz=3\n[C]\nw=4\n", IniEncoding::Utf8);
    EXPECT_TRUE(document.removeSection(u"A"));
    EXPECT_EQ(document.serialize(), "[B]\r\n; of B\r\ny=2\r\n[C]\r\nw=4\r\n");
    EXPECT_FALSE(document.removeSection(u"A"));
    EXPECT_EQ(document.keyNames(u"c"), QStringList{QStringLiteral("w")});
}

TEST(IniDocumentTest, StorableNames)
{
    EXPECT_TRUE(IniDocument::isStorableKey(u"Cond19"));
    EXPECT_TRUE(IniDocument::isStorableKey(u"_DB"));
    EXPECT_FALSE(IniDocument::isStorableKey(u"[x"));
    EXPECT_FALSE(IniDocument::isStorableKey(u";x"));
    EXPECT_FALSE(IniDocument::isStorableKey(u"a=b"));
    EXPECT_FALSE(IniDocument::isStorableKey(u""));
    EXPECT_TRUE(IniDocument::isStorableSection(u"~100.ini"));
    EXPECT_FALSE(IniDocument::isStorableSection(u"a]"));
    EXPECT_FALSE(IniDocument::isStorableValue(u"a\rb"));
    EXPECT_TRUE(IniDocument::isStorableValue(u"a=b ; [c]"));
}

} // namespace
} // namespace valdora
