#include "GeneratorFixture.h"

namespace {

class GenerationRun : public CGeneratorFixture {
protected:
    // Each page shows its tag and its children; paragraphs show their tag.
    void WriteSimpleTemplates()
    {
        WriteTemplates(
            "[@TAG=!]<[TAG]>\n[@LINKS=!][LINKBODY]", "([@TAG=!][TAG][@LINKS=!][LINKBODY])", "{link}");
    }
    std::string Dest() const { return m_settings.m_strDestination; }
    std::vector<CString> Texts(EStatusLine line) const
    {
        std::vector<CString> texts;
        for (const auto& [l, text] : m_ui.m_statusTexts) {
            if (l == line)
                texts.push_back(text);
        }
        return texts;
    }
};

TEST_F(GenerationRun, WritesEveryPageInTreeOrderAndReports)
{
    const HTREEITEM hRoot = Add(nullptr, "R");
    const HTREEITEM hA = Add(hRoot, "A");
    Add(hA, "A1");
    Add(hRoot, "p", NODE_PARAGRAPH);
    Add(hRoot, "B");
    WriteSimpleTemplates();
    Run().Run();

    const std::string d = Dest();
    EXPECT_EQ(ShownLog(),
        "Generating... " + d
            + "/r.htm\r\n"
              "Parsing template file: templates/Default.hdr.txt\r\n"
              "Parsing template file: templates/Default.pgh.txt\r\n"
              "Generating... "
            + d
            + "/a.htm\r\n"
              "Parsing template file: templates/Default.hdr.txt\r\n"
              "Generating... "
            + d
            + "/a1.htm\r\n"
              "Parsing template file: templates/Default.hdr.txt\r\n"
              "Generating... "
            + d
            + "/b.htm\r\n"
              "Parsing template file: templates/Default.hdr.txt\r\n"
              "Unable to open images/pagewell.jpg for read.\r\n"
              "Unable to open images/bluerib.gif for read.\r\n");
    EXPECT_EQ(Read("out/r.htm"), "<r>\r\n(p)\r\n");
    EXPECT_EQ(Read("out/a1.htm"), "<a1>\r\n\r\n");
    EXPECT_TRUE(m_ui.m_messages.empty());

    // Progress: one step per object, set back to 0 at the end.
    EXPECT_EQ(m_ui.m_nProgressUpper, 5);
    EXPECT_EQ(m_ui.m_nSteps, 5);
    EXPECT_EQ(m_ui.m_nProgressPos, 0);
    EXPECT_EQ(Texts(EStatusLine::CurrentFile),
        (std::vector<CString> {
            d + "/r.htm", d + "/a.htm", d + "/a1.htm", d + "/b.htm", "Copying image files...", "Done..." }));
    EXPECT_EQ(Texts(EStatusLine::CurrentTag), (std::vector<CString> { "r", "p", "a", "a1", "b", "" }));
    EXPECT_EQ(m_ui.m_beeps, std::vector<EBeep> { EBeep::Default });
    // The run-wide state is emptied at the end.
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(Run().GetCopyList().GetText(), "");
}

TEST_F(GenerationRun, CopiesImagesOnceBesideThePages)
{
    const HTREEITEM hRoot = Add(nullptr, "Index");
    Add(hRoot, "two");
    WriteTemplates("[@IMAGE=images\\Logo.GIF][IMAGE][@LINE=!Images/logo.gif][LINE]");
    std::string picture(1300, '\0');
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<char>(i * 7);
    Write("images/Logo.GIF", picture);
    Write("images/pagewell.jpg", "jpg");
    Write("images/bluerib.gif", "gif");
    Run().Run();

    const std::string d = Dest();
    EXPECT_EQ(
        Read("out/index.htm"), "<IMG SRC=\"logo.gif\" ALT=\"Index\" border=0><IMG SRC=\"logo.gif\">\r\n");
    EXPECT_EQ(Read("out/logo.gif"), picture);
    EXPECT_EQ(Read("out/bluerib.gif"), "gif");
    // One entry per spelling; both reach the same destination name.
    const CString log = ShownLog();
    EXPECT_NE(log.find("Copying file images\\Logo.GIF to " + d
                  + "/logo.gif\r\n"
                    "Copying file Images/logo.gif to "
                  + d
                  + "/logo.gif\r\n"
                    "Copying file images/pagewell.jpg to "
                  + d
                  + "/pagewell.jpg\r\n"
                    "Copying file images/bluerib.gif to "
                  + d + "/bluerib.gif\r\n"),
        CString::npos)
        << log;
    EXPECT_EQ(Texts(EStatusLine::CurrentTag).back(), "");
}

TEST_F(GenerationRun, OldPagesAndImagesAreReplacedNotWrittenThrough)
{
    // A page or image left in the destination as a link to another file
    // gets a new file of its own; the file the link led to stays untouched.
    struct CCase {
        const char* pszName;
        void (*link)(const std::filesystem::path& target, const std::filesystem::path& link);
    };
    const CCase cases[] = {
        { "symbolic link", [](const auto& target, const auto& link) { create_symlink(target, link); } },
        { "hard link", [](const auto& target, const auto& link) { create_hard_link(target, link); } },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        m_pRun.reset();
        m_tree.DeleteAllItems();
        std::filesystem::remove_all(m_folder.File("out"));
        std::filesystem::create_directory(m_folder.File("out"));
        Add(nullptr, "index");
        WriteTemplates("new page");
        Write("images/pagewell.jpg", "jpg");
        Write("images/bluerib.gif", "gif");
        Write("keep-page.txt", "old page");
        Write("keep-image.txt", "old image");
        test.link(m_folder.File("keep-page.txt"), m_folder.File("out/index.htm"));
        test.link(m_folder.File("keep-image.txt"), m_folder.File("out/bluerib.gif"));
        Run().Run();

        EXPECT_EQ(Read("out/index.htm"), "new page\r\n");
        EXPECT_EQ(Read("out/bluerib.gif"), "gif");
        EXPECT_FALSE(std::filesystem::is_symlink(m_folder.File("out/index.htm")));
        EXPECT_EQ(Read("keep-page.txt"), "old page");
        EXPECT_EQ(Read("keep-image.txt"), "old image");
    }
    EXPECT_TRUE(m_ui.m_messages.empty());
}

TEST_F(GenerationRun, LowercaseOffKeepsTagsAndNames)
{
    const HTREEITEM hRoot = Add(nullptr, "Index");
    Add(hRoot, "\xC4rger"); // Windows-1252 A with diaeresis
    WriteTemplates("[@IMAGE=Pic.GIF][IMAGE]");
    Write("Pic.GIF", "p");
    m_settings.m_bLowercase = 0;
    Run().Run();
    EXPECT_TRUE(Exists("out/Index.htm"));
    EXPECT_TRUE(Exists("out/\xC3\x84rger.htm"));
    EXPECT_EQ(Read("out/Pic.GIF"), "p");
    EXPECT_EQ(Read("out/Index.htm"), "<IMG SRC=\"Pic.GIF\" ALT=\"Index\" border=0>\r\n");
}

TEST_F(GenerationRun, LowercaseLowersTagsWithTheCodePage)
{
    const HTREEITEM hRoot = Add(nullptr, "Index");
    Add(hRoot, "\xC4rger");
    WriteTemplates("x");
    Run().Run();
    EXPECT_TRUE(Exists("out/\xC3\xA4rger.htm"));
}

TEST_F(GenerationRun, DestinationEndingInASeparator)
{
    Add(nullptr, "Index");
    WriteTemplates("x");
    Write("images/pagewell.jpg", "jpg");
    m_settings.m_strDestination = m_folder.File("out") + "\\";
    Run().Run();
    const std::string d = m_settings.m_strDestination;
    EXPECT_NE(ShownLog().find("Generating... " + d + "index.htm\r\n"), CString::npos);
    EXPECT_NE(
        ShownLog().find("Copying file images/pagewell.jpg to " + d + "/pagewell.jpg\r\n"), CString::npos);
    EXPECT_EQ(Read("out/index.htm"), "x\r\n");
    EXPECT_EQ(Read("out/pagewell.jpg"), "jpg");
}

TEST_F(GenerationRun, MissingDestinationReportsEveryPageAndImage)
{
    const HTREEITEM hRoot = Add(nullptr, "Index");
    Add(hRoot, "a");
    Add(hRoot, "p", NODE_PARAGRAPH);
    WriteSimpleTemplates();
    Write("images/pagewell.jpg", "jpg");
    Write("images/bluerib.gif", "gif");
    m_settings.m_strDestination = m_folder.File("nowhere");
    Run().Run();
    const std::string d = m_settings.m_strDestination;
    ASSERT_EQ(m_ui.m_messages.size(), 2u);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Unable to open destination file " + d + "/index.htm");
    EXPECT_EQ(m_ui.m_messages[0].strCaption, "CreatePage() ERROR");
    EXPECT_EQ(m_ui.m_messages[1].strText, "Unable to open destination file " + d + "/a.htm");
    EXPECT_EQ(ShownLog(),
        "Generating... " + d
            + "/index.htm\r\n"
              "Generating... "
            + d
            + "/a.htm\r\n"
              "Unable to open "
            + d
            + "/pagewell.jpg for write.\r\n"
              "Unable to open "
            + d + "/bluerib.gif for write.\r\n");
    // Pages not written are not expanded: no progress steps.
    EXPECT_EQ(m_ui.m_nSteps, 0);
    EXPECT_FALSE(Exists("nowhere"));
}

TEST_F(GenerationRun, MissingPageTemplateWritesNoFile)
{
    Add(nullptr, "Index");
    Run().Run();
    EXPECT_FALSE(Exists("out/index.htm"));
    ASSERT_EQ(m_ui.m_messages.size(), 1u);
    EXPECT_EQ(m_ui.m_messages[0].strText, "Unable to open template file: templates/Default.hdr.txt");
}

TEST_F(GenerationRun, UnsafeTagsAreNotWritten)
{
    const HTREEITEM hRoot = Add(nullptr, "Index");
    const HTREEITEM hEscape = Add(hRoot, "../evil");
    Add(hEscape, "p", NODE_PARAGRAPH);
    Add(hEscape, "child");
    Add(hRoot, "..");
    Add(hRoot, "");
    Add(hRoot, "a\\b");
    WriteSimpleTemplates();
    Run().Run();
    const std::string d = Dest();
    std::vector<CString> texts;
    for (const auto& message : m_ui.m_messages) {
        EXPECT_EQ(message.strCaption, "CreatePage() ERROR");
        texts.push_back(message.strText);
    }
    EXPECT_EQ(texts,
        (std::vector<CString> { "Unable to open destination file " + d + "/../evil.htm",
            "Unable to open destination file " + d + "/...htm",
            "Unable to open destination file " + d + "/.htm",
            "Unable to open destination file " + d + "/a\\b.htm" }));
    EXPECT_FALSE(Exists("evil.htm"));
    // The refused page's paragraph is not expanded; its child page is written.
    EXPECT_EQ(Read("out/child.htm"), "<child>\r\n\r\n");
    EXPECT_EQ(m_ui.m_nSteps, 2); // index (with no paragraphs), child
}

TEST_F(GenerationRun, ImageSourcesAreFoundWithoutRegardToCase)
{
    Add(nullptr, "Index");
    // (A ".." component, even one that stays inside, is refused: see
    // HostileProject.)
    WriteTemplates("[@IMAGE=images\\sub\\Logo.gif][@LINE=lineimages\\rule.gif]");
    Write("IMAGES/Sub/LOGO.GIF", "logo");
    Write("LineImages/Rule.GIF", "rule");
    Write("IMAGES/PageWell.jpg", "jpg");
    Write("IMAGES/bluerib.gif", "gif");
    Run().Run();
    EXPECT_EQ(Read("out/logo.gif"), "logo");
    EXPECT_EQ(Read("out/rule.gif"), "rule");
    EXPECT_EQ(ShownLog().find("for read"), CString::npos) << ShownLog();
}

TEST_F(GenerationRun, ResourceFoldersFallBackToTheDefaultWorkspace)
{
    Add(nullptr, "Index");
    Write("share/templates/Default.hdr.txt", "[@IMAGE=images/logo.gif][IMAGE]");
    Write("share/images/logo.gif", "default logo");
    Write("share/images/pagewell.jpg", "jpg");
    Write("share/images/bluerib.gif", "gif");
    m_strShareDir = m_folder.File("share");
    Run().Run();
    EXPECT_EQ(Read("out/index.htm"), "<IMG SRC=\"logo.gif\" ALT=\"Index\" border=0>\r\n");
    EXPECT_EQ(Read("out/logo.gif"), "default logo");
    EXPECT_NE(ShownLog().find("Parsing template file: templates/Default.hdr.txt\r\n"), CString::npos);
    // A workspace folder of that name, even empty, is used instead.
    std::filesystem::create_directory(m_folder.File("Images"));
    m_pRun.reset();
    Run().Run();
    EXPECT_NE(ShownLog().find("Unable to open images/logo.gif for read.\r\n"), CString::npos);
}

// A file system whose image sources cannot be opened.
class CNoReadFileSystem : public CFileSystem {
public:
    std::unique_ptr<CFile> OpenForRead(const std::string& /*path*/, EFileError& error) override
    {
        error = EFileError::AccessDenied;
        return nullptr;
    }
};

class GenerationRunUnreadable : public GenerationRun {
protected:
    CFileSystem& Files() override { return m_files; }
    CNoReadFileSystem m_files;
};

TEST_F(GenerationRunUnreadable, UnreadableImagesAreLoggedAndSkipped)
{
    Add(nullptr, "Index");
    WriteTemplates("x");
    Write("images/pagewell.jpg", "jpg");
    Run().Run();
    EXPECT_EQ(Read("out/index.htm"), "x\r\n");
    EXPECT_NE(ShownLog().find("Unable to open images/pagewell.jpg for read.\r\n"), CString::npos);
    EXPECT_FALSE(Exists("out/pagewell.jpg"));
}

} // namespace
