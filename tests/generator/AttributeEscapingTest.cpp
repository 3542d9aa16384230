#include <filesystem>

#include "GeneratorFixture.h"
#include "checker/CHtmlTagReader.h"
#include "generator/CHtmlText.h"

namespace {

// A text that, let out of its attribute, adds the attribute "data-broke" to
// the tag.
constexpr const char* kBreakout = "Q\" data-broke=\"1";

// Every project text a bundled template can put into an attribute holds a
// breakout; whatever the template set and the markup, every tag of every page
// keeps its own attributes.
class AttributeEscaping : public CGeneratorFixture {
protected:
    AttributeEscaping()
    {
        m_strShareDir = std::string(PAGEWELL_SOURCE_DIR) + "/share/pagewell";
        m_props.m_strAuthor = std::string("Au") + kBreakout;
        m_props.m_strEmail = std::string("me@example.org") + kBreakout;
        const HTREEITEM hRoot = Add(nullptr, "index", NODE_PAGE, std::string("Home") + kBreakout);
        const HTREEITEM hAbout = Add(hRoot, "about", NODE_PAGE, std::string("About") + kBreakout);
        Add(hAbout, "team", NODE_PARAGRAPH, std::string("Team") + kBreakout);
        Add(hAbout, "club", NODE_LINK,
            std::string("Club") + kBreakout + "\r\nhttps://example.org/" + kBreakout);
    }
};

TEST_F(AttributeEscaping, NoProjectTextLeavesItsAttributeInAnyBundledTemplate)
{
    for (const char* set : { "Default", "Modern", "Plain" }) {
        for (const char* markup : { "classic", "modern" }) {
            m_props.m_strTemplate = set;
            CSiteSettings settings = m_settings.GetSiteSettings();
            CString error;
            ASSERT_TRUE(settings.Set("markup", markup, error)) << error;
            m_settings.SetSiteSettings(settings);
            m_pRun.reset();
            Run().Run();
            size_t nAuthors = 0;
            for (const char* page : { "out/index.htm", "out/about.htm" }) {
                const std::string html = Read(page);
                ASSERT_FALSE(html.empty()) << set << " " << markup << " " << page;
                CHtmlTagReader reader(html);
                CHtmlTagReader::CTag tag;
                while (reader.Next(tag)) {
                    EXPECT_FALSE(tag.Get("data-broke").has_value())
                        << set << " " << markup << " " << page << ": <" << tag.name << ">";
                    if (tag.Is("meta") && tag.Get("name").value_or("") == "author") {
                        EXPECT_EQ(tag.Get("content").value_or(""), "AuQ&quot; data-broke=&quot;1");
                        ++nAuthors;
                    }
                }
            }
            EXPECT_EQ(nAuthors, 2U) << set << " " << markup;
        }
    }
}

TEST(HtmlText, TextForAnAttributeKeepsItsCharacterReferences)
{
    struct {
        const char* text;
        char quote;
        const char* escaped;
    } const cases[] = {
        { "Zo\xE9 Smith", '"', "Zo\xE9 Smith" },
        { "a \"b\" <c> 'd'", '"', "a &quot;b&quot; &lt;c> 'd'" },
        { "a \"b\" 'd'", '\'', "a \"b\" &#39;d&#39;" },
        { "R&D &amp; &#20013; &#x4E2D; &", '"', "R&amp;D &amp; &#20013; &#x4E2D; &amp;" },
        { "&; &#; &#x; &amp", '"', "&amp;; &amp;#; &amp;#x; &amp;amp" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CHtmlText::EscapeTextForAttribute(c.text, c.quote), c.escaped) << c.text;
}

} // namespace
