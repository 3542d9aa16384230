#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>

#include <gtest/gtest.h>

#include "../generator/GeneratorFixture.h"
#include "generator/CSiteRenderer.h"
#include "model/CPagewellDoc.h"
#include "model/CProjectJson.h"
#include "platform/CCollectingUserInterface.h"
#include "platform/CPathRules.h"

namespace {

// A project generated into a temporary folder (the current directory, which
// has no resource folders, so the installed defaults serve), and rendered
// into memory page by page and as a whole: the bytes must be the same.
class RenderedSite : public ::testing::Test {
protected:
    RenderedSite()
        : m_cwd(m_folder.Path())
        , m_doc(m_ui)
        , m_locator(m_doc.GetFileSystem(), CFileLocator::DefaultShareDir())
    {
        std::filesystem::create_directory(m_folder.File("out"));
    }

    void Generate()
    {
        m_doc.m_dlgGenerate.m_strDestination = m_folder.File("out");
        m_doc.m_dlgGenerate.OnGenerate(m_doc);
    }

    void ExpectRenderedEqualsGenerated()
    {
        Generate();
        const CSiteRenderer renderer(
            m_doc.m_tree, m_doc.m_props, m_doc.m_dlgGenerate, m_doc.GetFileSystem(), m_locator);
        const CRenderedSite site = renderer.RenderSite();
        std::set<CString> written;
        // The run's list of files and the publishing files it makes itself
        // (with a base URL) are not part of the site in memory.
        const std::set<CString> kRunFiles = { ".pagewell-files", "sitemap.xml", "feed.xml", "robots.txt" };
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.File("out"))) {
            if (!kRunFiles.contains(entry.path().filename().string()))
                written.insert(entry.path().filename().string());
        }
        size_t nPages = 0;
        for (HTREEITEM h = m_doc.m_tree.GetRootItem(); h != nullptr; h = CSiteTree::GetNextPreOrder(h)) {
            if (h->GetNode()->m_nType != NODE_PAGE)
                continue;
            ++nPages;
            const CString name = renderer.GetPageFileName(h);
            const CString file = ReadWholeFile(m_folder.File("out/" + name));
            const CRenderedSite page = renderer.RenderPage(h);
            ASSERT_EQ(page.pages.count(name), 1U) << name;
            EXPECT_EQ(page.pages.at(name), file) << name;
            EXPECT_EQ(site.pages.at(name), file) << name;
            for (const auto& [image, source] : page.images)
                EXPECT_TRUE(site.images.count(image)) << image;
            // The images every run copies show in the preview of any page.
            EXPECT_TRUE(page.images.count("pagewell.jpg")) << name;
        }
        EXPECT_GT(nPages, 0U);
        // The site in memory holds exactly the files a run writes.
        std::set<CString> rendered;
        for (const auto& [name, bytes] : site.pages)
            rendered.insert(name);
        for (const auto& [name, source] : site.images) {
            rendered.insert(name);
            EXPECT_EQ(ReadWholeFile(source), ReadWholeFile(m_folder.File("out/" + name))) << name;
        }
        EXPECT_EQ(rendered, written);
    }

    CTempFolder m_folder;
    CCurrentDirectory m_cwd;
    CCollectingUserInterface m_ui;
    CPagewellDoc m_doc;
    CFileLocator m_locator;
};

TEST_F(RenderedSite, ExampleProjectRendersAsGenerated)
{
    std::ifstream in(std::string(PAGEWELL_SOURCE_DIR) + "/examples/site.json");
    CProjectJson::FromJson(nlohmann::ordered_json::parse(in), m_doc);
    ExpectRenderedEqualsGenerated();
}

// Random trees over the installed template sets: pages, paragraphs and links
// nested at random, tags in mixed case, icons (one of them missing), table of
// contents macros, both settings of the lowercase option.
TEST_F(RenderedSite, RandomProjectsRenderAsGenerated)
{
    const char* const kTemplates[] = { "Default", "Modern", "Plain" };
    const char* const kIcons[] = { "", "globe.gif", "Star.GIF", "missing.gif" };
    const char* const kTexts[] = { "plain", "a [$i] table", "<b>bold</b>\r\nnext", "" };
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        auto pick = [&random](size_t n) { return static_cast<size_t>(random() % n); };
        m_doc.m_tree.DeleteAllItems();
        m_doc.m_props.m_strTemplate = kTemplates[seed % 3];
        m_doc.m_dlgGenerate.m_bLowercase = seed % 2;
        // Half the sites in UTF-8 with modern markup, with a title beyond ASCII.
        CSiteSettings settings = m_doc.m_dlgGenerate.GetSiteSettings();
        settings.m_strEncoding = seed % 4 < 2 ? "utf-8" : "windows-1252";
        settings.m_strMarkup = seed % 4 < 2 ? "modern" : "classic";
        m_doc.m_dlgGenerate.SetSiteSettings(settings);
        std::vector<HTREEITEM> items { m_doc.CreateRootPage() };
        for (int i = 0; i < 40; ++i) {
            auto pNode = std::make_unique<CNode>(&m_doc);
            pNode->m_nType = std::vector<uint32_t> { NODE_PAGE, NODE_PARAGRAPH, NODE_LINK }[pick(3)];
            pNode->m_strTitle = "Title \xE9" + std::to_string(i)
                + (pNode->m_nType == NODE_LINK ? "\r\nhttp://example.com/" : "");
            pNode->m_strText = kTexts[pick(4)];
            pNode->m_info.m_strIcon = kIcons[pick(4)];
            pNode->m_info.m_bNew = static_cast<int32_t>(pick(2));
            HTREEITEM hParent = items[pick(items.size())];
            items.push_back(m_doc.m_tree.InsertItem(
                (i % 2 ? "Obj" : "obj") + std::to_string(i), std::move(pNode), hParent, ETreeInsert::Last));
        }
        std::filesystem::remove_all(m_folder.File("out"));
        std::filesystem::create_directory(m_folder.File("out"));
        ExpectRenderedEqualsGenerated();
    }
}

TEST_F(RenderedSite, PageCollectsWhatARunWouldReport)
{
    const HTREEITEM hRoot = m_doc.CreateRootPage();
    m_doc.m_tree.GetItemData(hRoot)->m_info.m_strIcon = "../../etc/passwd";
    const CSiteRenderer renderer(
        m_doc.m_tree, m_doc.m_props, m_doc.m_dlgGenerate, m_doc.GetFileSystem(), m_locator);
    CRenderedSite page = renderer.RenderPage(hRoot);
    EXPECT_EQ(page.images.count("passwd"), 0U);
    ASSERT_FALSE(page.messages.empty());
    EXPECT_EQ(page.messages.back(),
        "CopyFiles() ERROR: Unable to copy images/../../etc/passwd: it lies outside the workspace.");

    m_doc.m_props.m_strTemplate = "NoSuchSet";
    page = renderer.RenderPage(hRoot);
    ASSERT_EQ(page.messages.size(), 1U);
    EXPECT_EQ(
        page.messages[0], "CreateNode() ERROR: Unable to open template file: templates/NoSuchSet.hdr.txt");
    EXPECT_EQ(page.pages.at("index.htm"), "\r\n");
    EXPECT_TRUE(m_ui.m_messages.empty()) << "no message box while rendering";
}

TEST_F(RenderedSite, LinksLeadToThePageOrTheObjectOfTheirAnchor)
{
    const HTREEITEM hRoot = m_doc.CreateRootPage();
    auto add = [this](const char* pszTag, uint32_t type, HTREEITEM hParent) {
        auto pNode = std::make_unique<CNode>(&m_doc);
        pNode->m_nType = type;
        return m_doc.m_tree.InsertItem(pszTag, std::move(pNode), hParent, ETreeInsert::Last);
    };
    const HTREEITEM hNews = add("News", NODE_PARAGRAPH, hRoot);
    const HTREEITEM hAbout = add("About", NODE_PAGE, hRoot);
    const HTREEITEM hMe = add("Me", NODE_LINK, hAbout);
    const CSiteRenderer renderer(
        m_doc.m_tree, m_doc.m_props, m_doc.m_dlgGenerate, m_doc.GetFileSystem(), m_locator);
    const struct {
        const char* pszFile;
        const char* pszFragment;
        HTREEITEM hExpected;
    } kCases[] = {
        { "index.htm", "", hRoot },
        { "index.htm", "main", hRoot },
        { "index.htm", "news", hNews },
        { "about.htm", "me", hMe },
        { "index.htm", "me", hRoot }, // not an object of that page
        { "about.htm", "news", hAbout },
        { "About.htm", "", nullptr }, // the file names are lowered
        { "missing.htm", "", nullptr },
    };
    for (const auto& test : kCases)
        EXPECT_EQ(renderer.FindLinkTarget(test.pszFile, test.pszFragment), test.hExpected)
            << test.pszFile << "#" << test.pszFragment;
}

} // namespace
