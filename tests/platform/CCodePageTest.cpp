#include <gtest/gtest.h>

#include "platform/CCodePage.h"

TEST(CCodePage, EveryByteSurvivesTheTripThroughUnicode)
{
    CString all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(CCodePage::FromUtf8(CCodePage::ToUtf8(all)), all);
    // ASCII is copied a run at a time: high bytes after runs of every length
    // around the eight bytes looked at together.
    for (size_t run = 0; run < 18; ++run) {
        const CString text = CString(run, 'a') + "\xE9" + CString(run, 'b') + "\x80\x9F" + CString(run, 'c');
        std::string expected;
        for (const char c : text)
            expected += CCodePage::ToUtf8(std::string_view(&c, 1));
        EXPECT_EQ(CCodePage::ToUtf8(text), expected) << run;
    }
}

TEST(CCodePage, MapsTheHighBytesAndTheUndefinedOnes)
{
    EXPECT_EQ(CCodePage::ToCodePoint(0x80), U'\u20AC');
    EXPECT_EQ(CCodePage::ToCodePoint(0x9F), U'\u0178');
    EXPECT_EQ(CCodePage::ToCodePoint(0xE9), U'\u00E9');
    for (const unsigned char undefined : { 0x81, 0x8D, 0x8F, 0x90, 0x9D })
        EXPECT_EQ(CCodePage::ToCodePoint(undefined), static_cast<char32_t>(undefined));
}

TEST(CCodePage, CharactersOutsideTheCodePageBecomeReferences)
{
    struct {
        const char* utf8;
        const char* expected;
    } cases[] = {
        { "plain", "plain" }, { "caf\xC3\xA9", "caf\xE9" }, { "\xE2\x82\xAC 5", "\x80 5" },
        { "\xE4\xB8\xAD", "&#20013;" }, { "\xF0\x9F\x98\x80", "&#128512;" },
        { "\xC2\x80", "&#128;" }, // U+0080 has no byte: 0x80 is the euro sign
        { "a\xFF"
          "b",
            "a&#65533;b" }, // invalid UTF-8
        { "\xE4\xB8", "&#65533;" }, // a cut sequence
        { "\xC0\xAF", "&#65533;" }, // an overlong form
    };
    for (const auto& c : cases)
        EXPECT_EQ(CCodePage::FromUtf8(c.utf8), c.expected) << c.utf8;
}

TEST(CCodePage, LowersTheLettersOfTheCodePage)
{
    CString text = "ABC xyz \xC0\xC9\xD6\xD7\xDE\xDF \x8A\x8C\x8E\x9F 09_-";
    CCodePage::CharLower(text);
    EXPECT_EQ(text, "abc xyz \xE0\xE9\xF6\xD7\xFE\xDF \x9A\x9C\x9E\xFF 09_-");

    CString ascii = "Logo\xC9.GIF";
    CCodePage::AsciiLower(ascii);
    EXPECT_EQ(ascii, "logo\xC9.gif");
}

TEST(CCodePage, ComparesWithoutAsciiCase)
{
    EXPECT_EQ(CCodePage::CompareNoCase("News", "news"), 0);
    EXPECT_LT(CCodePage::CompareNoCase("about", "News"), 0);
    EXPECT_GT(CCodePage::CompareNoCase("news2", "News"), 0);
    EXPECT_LT(CCodePage::CompareNoCase("", "a"), 0);
}
