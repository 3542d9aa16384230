#include <gtest/gtest.h>

#include "model/CLanguageTag.h"
#include "model/CSiteSettings.h"

TEST(LanguageTag, AcceptsTheFormsOfTheWeb)
{
    for (const char* pszTag : { "en", "de-CH", "zh-Hant-TW", "sr-Latn-RS", "es-419", "gsw", "zh-yue-HK",
             "de-CH-1996", "sl-rozaj-biske", "en-US-u-ca-gregory", "x-klingon", "en-x-private", "EN-gb" })
        EXPECT_TRUE(CLanguageTag::IsValid(pszTag)) << pszTag;
    for (const char* pszTag : { "", "English (UK)", "en_GB", "e", "en-", "-en", "en--GB", "en-GB-", "123",
             "de-CH-19", "en-a", "x", "toolonglanguage", "en-GB-x", "fr-Latn-FR-u" })
        EXPECT_FALSE(CLanguageTag::IsValid(pszTag)) << pszTag;
}

TEST(LanguageTag, ExplainsInTheUsersWords)
{
    EXPECT_EQ(CLanguageTag::Explain("de-CH", "Site language"), "");
    const std::string words = CLanguageTag::Explain("English (UK)", "Site language");
    EXPECT_TRUE(words.starts_with(
        "Site language: 'English (UK)' is not a language tag; write the language as a code"))
        << words;
    EXPECT_NE(words.find("en-GB"), std::string::npos);
    EXPECT_NE(CLanguageTag::Explain("en_GB", "Site language").find("joined by '-'"), std::string::npos);

    // The settings refuse such a value by the field's label, and a project
    // that holds one keeps it for the checker to report.
    CSiteSettings settings;
    CString error;
    EXPECT_FALSE(settings.Set("lang", "English (UK)", error));
    EXPECT_TRUE(error.starts_with("Site language: ")) << error;
    EXPECT_TRUE(settings.Set("lang", "zh-Hant-TW", error));
    EXPECT_EQ(CSiteSettings::FromSpare("pagewell-settings 1\nlang=English\n").m_strLang, "English");
}

TEST(LanguageTag, NamesTheDictionary)
{
    const std::pair<const char*, const char*> cases[] = { { "en-GB", "en_GB" }, { "de", "de" },
        { "DE-ch", "de_CH" }, { "zh-Hant-TW", "zh_TW" }, { "es-419", "es" } };
    for (const auto& [pszTag, pszName] : cases)
        EXPECT_EQ(CLanguageTag::DictionaryName(pszTag), pszName) << pszTag;
}
