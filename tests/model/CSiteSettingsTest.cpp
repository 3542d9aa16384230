#include <gtest/gtest.h>

#include "generator/CGenerateDlg.h"
#include "model/CSiteSettings.h"

namespace {

TEST(SiteSettings, SpareStringsAndTheSettingsTheyHold)
{
    struct CCase {
        const char* pszSpare;
        const char* pszLang;
        const char* pszMarkup;
        const char* pszEncoding;
        const char* pszRewritten; // ToSpare of what was read
    };
    const CCase cases[] = {
        { "", "", "classic", "windows-1252", "" },
        // Not ours: defaults, and nothing of it would be written back.
        { "something else\nlang=de\n", "", "classic", "windows-1252", "" },
        { "lang=de\npagewell-settings 1\n", "", "classic", "windows-1252", "" },
        { "pagewell-settings 10\nlang=de\n", "", "classic", "windows-1252", "" },
        { "pagewell-settings 1", "", "classic", "windows-1252", "" },
        { "pagewell-settings 1\r\nlang=de\r\nmarkup=modern\r\n", "de", "modern", "windows-1252",
            "pagewell-settings 1\nlang=de\nmarkup=modern\n" },
        // Keys in any order, the last one of a key wins, defaults are not written.
        { "pagewell-settings 1\nencoding=utf-8\nlang=a\nlang=b=c\nmarkup=classic\n", "b=c", "classic",
            "utf-8", "pagewell-settings 1\nlang=b=c\nencoding=utf-8\n" },
        // Unknown keys, refused values and stray lines survive; empty lines do not.
        { "pagewell-settings 1\nfavicon=x.ico\n\nmarkup=fancy\nnoise\n", "", "classic", "windows-1252",
            "pagewell-settings 1\nfavicon=x.ico\nmarkup=fancy\nnoise\n" },
    };
    for (const CCase& c : cases) {
        const CSiteSettings settings = CSiteSettings::FromSpare(c.pszSpare);
        EXPECT_EQ(settings.m_strLang, c.pszLang) << c.pszSpare;
        EXPECT_EQ(settings.m_strMarkup, c.pszMarkup) << c.pszSpare;
        EXPECT_EQ(settings.m_strEncoding, c.pszEncoding) << c.pszSpare;
        EXPECT_EQ(settings.ToSpare(), c.pszRewritten) << c.pszSpare;
        EXPECT_EQ(CSiteSettings::FromSpare(settings.ToSpare()), settings) << c.pszSpare;
    }
}

TEST(SiteSettings, SetChecksKeysAndChoices)
{
    CSiteSettings settings;
    CString error;
    EXPECT_FALSE(settings.Set("colour", "red", error));
    EXPECT_EQ(error, "unknown setting 'colour'");
    EXPECT_FALSE(settings.Set("markup", "fancy", error));
    EXPECT_EQ(error, "Markup must be classic or modern");
    EXPECT_FALSE(settings.Set("encoding", "latin1", error));
    EXPECT_EQ(settings, CSiteSettings());

    EXPECT_TRUE(settings.Set("markup", "Modern", error));
    EXPECT_TRUE(settings.IsModern());
    EXPECT_TRUE(settings.Set("encoding", "UTF-8", error));
    EXPECT_TRUE(settings.IsUtf8());
    EXPECT_TRUE(settings.Set("markup", "", error)); // back to the default
    EXPECT_FALSE(settings.IsModern());
    // A value is one line of the spare string.
    EXPECT_TRUE(settings.Set("description", "two\r\nlines\n", error));
    EXPECT_EQ(settings.Get("description"), "two  lines ");
    EXPECT_EQ(CSiteSettings::FromSpare(settings.ToSpare()).Get("description"), "two  lines ");

    // The base URL starts the sitemap's and the feed's addresses.
    for (const char* pszUrl :
        { "example.org", "javascript:alert(1)", "https://", "http:///x", "ftp://example.org/" }) {
        EXPECT_FALSE(settings.Set("baseurl", pszUrl, error)) << pszUrl;
        EXPECT_TRUE(error.starts_with("Base URL must be an address starting with http:// or https://"))
            << pszUrl;
    }
    for (const char* pszUrl : { "", "https://example.org/", "HTTP://example.org/club/" })
        EXPECT_TRUE(settings.Set("baseurl", pszUrl, error)) << pszUrl;

    // Setting a key replaces a kept line of it.
    CSiteSettings later = CSiteSettings::FromSpare("pagewell-settings 1\nmarkup=fancy\n");
    EXPECT_TRUE(later.Set("markup", "modern", error));
    EXPECT_EQ(later.ToSpare(), "pagewell-settings 1\nmarkup=modern\n");
}

TEST(SiteSettings, ForeignSpareStringStaysUntilSettingsChange)
{
    CGenerateDlg generate;
    generate.m_strSpare = "not ours\r\n\x01";
    generate.SetSiteSettings(generate.GetSiteSettings());
    EXPECT_EQ(generate.m_strSpare, "not ours\r\n\x01");

    CSiteSettings settings = generate.GetSiteSettings();
    CString error;
    ASSERT_TRUE(settings.Set("lang", "en", error));
    generate.SetSiteSettings(settings);
    EXPECT_EQ(generate.m_strSpare, "pagewell-settings 1\nlang=en\n");
    EXPECT_EQ(CSiteSettings::ForNewProject().ToSpare(),
        "pagewell-settings "
        "1\nmarkup=modern\nencoding=utf-8\nfavicon=favicon.svg\nextension=html\nmaxwidth=1600\n");
}

} // namespace
