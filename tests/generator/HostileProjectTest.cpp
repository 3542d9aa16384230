// Projects and workspaces made to harm: files outside the workspace, files
// that are not regular files, tags and settings that would write elsewhere.
// Each is refused with its message and the rest of the run goes on.
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include "GeneratorFixture.h"
#include "generator/CSiteRenderer.h"

namespace {

class HostileProject : public CGeneratorFixture {
protected:
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : m_ui.m_messages)
            texts.push_back(message.strCaption + ": " + message.strText);
        return texts;
    }
};

TEST_F(HostileProject, ImagesOutsideTheWorkspaceAreNotCopied)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    Node(hRoot).m_info.m_strLineImage = "\\etc\\passwd";
    Node(hRoot).m_info.m_strIcon = "../../../proc/self/environ";
    Node(hRoot).m_info.m_strBgBitmap = "ok.gif";
    m_props.m_strBullet = "../secret.gif";
    WriteTemplates(
        "[@LINE=!][LINE][@IMAGE=!][IMAGE][@BGIMAGE=!][@BULLET=!][BULLET][@IMAGE=/etc/hostname][IMAGE]");
    Write("background/ok.gif", "ok");
    Write("images/pagewell.jpg", "jpg");
    Write("images/bluerib.gif", "gif");
    Run().Run();

    EXPECT_EQ(MessageTexts(),
        (std::vector<std::string> {
            "CopyFiles() ERROR: Unable to copy \\etc\\passwd: it lies outside the workspace.",
            "CopyFiles() ERROR: Unable to copy images/../../../proc/self/environ: it lies outside the "
            "workspace.",
            "CopyFiles() ERROR: Unable to copy bullets/../secret.gif: it lies outside the workspace.",
            "CopyFiles() ERROR: Unable to copy /etc/hostname: it lies outside the workspace." }));
    // The page and the files inside the workspace are there as ever.
    EXPECT_EQ(
        OutNames(), (std::vector<std::string> { "bluerib.gif", "index.htm", "ok.gif", "pagewell.jpg" }));
    EXPECT_EQ(Read("out/ok.gif"), "ok");
}

TEST_F(HostileProject, LinksOutOfTheWorkspaceAreNeitherCopiedNorServed)
{
    CTempFolder elsewhere;
    WriteWholeFile(elsewhere.File("secret"), "secret");
    WriteWholeFile(elsewhere.File("Default.pgh.txt"), "secret template\n");
    Write("keep/blue.gif", "blue");
    Write("images/pagewell.jpg", "jpg");
    ASSERT_EQ(::symlink(elsewhere.File("secret").c_str(), m_folder.File("images/bluerib.gif").c_str()), 0);
    ASSERT_EQ(::symlink("../keep/blue.gif", m_folder.File("images/blue.gif").c_str()), 0);
    WriteTemplates("[@IMAGE=!][IMAGE][@LINKS=!][LINKBODY]\n");
    ASSERT_EQ(::symlink(elsewhere.File("Default.pgh.txt").c_str(),
                  m_folder.File("templates/Default.pgh.txt").c_str()),
        0);
    const HTREEITEM hRoot = Add(nullptr, "index");
    Node(hRoot).m_info.m_strIcon = "blue.gif";
    Add(hRoot, "part", NODE_PARAGRAPH);
    Run().Run();

    const std::string refused = "Unable to copy images/bluerib.gif: it lies outside the workspace.";
    EXPECT_EQ(MessageTexts(),
        (std::vector<std::string> {
            "CreateNode() ERROR: Unable to open template file: templates/Default.pgh.txt",
            "CopyFiles() ERROR: " + refused }));
    EXPECT_EQ(OutNames(), (std::vector<std::string> { "blue.gif", "index.htm", "pagewell.jpg" }));
    EXPECT_EQ(Read("out/index.htm").find("secret"), std::string::npos);

    // What serve and the preview show comes from the same rendering.
    const CSiteRenderer renderer(m_tree, m_props, m_settings, Files(), *m_pLocator);
    const CRenderedSite site = renderer.RenderSite();
    EXPECT_EQ(site.images.count("bluerib.gif"), 0U);
    EXPECT_EQ(site.images.count("blue.gif"), 1U);
    EXPECT_NE(std::find(site.messages.begin(), site.messages.end(), "CopyFiles() ERROR: " + refused),
        site.messages.end());
    CString bytes;
    EXPECT_EQ(CSiteRenderer::ReadFile(site, "bluerib.gif", bytes, Files()), ESiteFile::None);
}

TEST_F(HostileProject, OnlyRegularFilesAreReadOrCopied)
{
    // A line image or a template that is a FIFO would hang the run (and a
    // device fill the disk; a link to one leads out of the workspace): both
    // are files that cannot be opened.
    const HTREEITEM hRoot = Add(nullptr, "index");
    Add(hRoot, "news", NODE_PARAGRAPH);
    Node(hRoot).m_info.m_strLineImage = "zero";
    WriteTemplates("[@LINE=!][LINE][@LINKS=!][LINKBODY]");
    std::filesystem::create_directory(m_folder.File("lineimages"));
    ASSERT_EQ(::mkfifo(m_folder.File("lineimages/zero").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(m_folder.File("templates/Default.pgh.txt").c_str(), 0600), 0);
    Run().Run();

    EXPECT_EQ(MessageTexts(),
        (std::vector<std::string> {
            "CreateNode() ERROR: Unable to open template file: templates/Default.pgh.txt" }));
    EXPECT_NE(ShownLog().find("Unable to open lineimages/zero for read.\r\n"), CString::npos);
    EXPECT_EQ(Read("out/index.htm"), "<IMG SRC=\"zero\">\r\n");
    EXPECT_FALSE(Exists("out/zero"));
}

TEST_F(HostileProject, EmptyDestinationIsRefusedBeforeAnythingIsWritten)
{
    Add(nullptr, "index");
    WriteTemplates("page");
    Write("images/pagewell.jpg", "jpg");
    m_settings.m_strDestination.clear();
    Run().Run();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string> { "Pagewell: No destination folder is set." }));
    EXPECT_FALSE(Exists("index.htm"));
    EXPECT_FALSE(std::filesystem::exists("/index.htm"));
    EXPECT_TRUE(OutNames().empty());
    EXPECT_TRUE(m_ui.m_beeps.empty());
}

TEST_F(HostileProject, TagsWithANulCharacterAreRefused)
{
    using namespace std::string_literals;
    const HTREEITEM hRoot = Add(nullptr, "index");
    Add(hRoot, "evil\0"s);
    Add(hRoot, "pagewell.jpg\0"s);
    WriteTemplates("page");
    Write("images/pagewell.jpg", "jpg");
    Run().Run();
    const std::string d = m_settings.m_strDestination;
    EXPECT_EQ(MessageTexts(),
        (std::vector<std::string> {
            "CreatePage() ERROR: Unable to open destination file " + d + "/evil\0.htm"s,
            "CreatePage() ERROR: Unable to open destination file " + d + "/pagewell.jpg\0.htm"s }));
    EXPECT_EQ(OutNames(), (std::vector<std::string> { "index.htm", "pagewell.jpg" }));
    EXPECT_EQ(Read("out/pagewell.jpg"), "jpg");
}

// The real file system, out of memory when a template file is read.
class COutOfMemoryFileSystem : public CFileSystem {
public:
    EFileError ReadFile(const std::string& path, std::string& contents) override
    {
        if (path.ends_with(".pgh.txt"))
            throw std::bad_alloc();
        return CFileSystem::ReadFile(path, contents);
    }
};

class HostileProjectOutOfMemory : public HostileProject {
protected:
    CFileSystem& Files() override { return m_files; }
    COutOfMemoryFileSystem m_files;
};

TEST_F(HostileProjectOutOfMemory, EndsTheRunWithAMessageAndNoDamagedPage)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    const HTREEITEM hAbout = Add(hRoot, "about");
    Add(hAbout, "news", NODE_PARAGRAPH);
    Add(hRoot, "zz");
    WriteTemplates("new [@LINKS=!][LINKBODY]", "section");
    Write("out/about.htm", "old about");
    Write("out/zz.htm", "old zz");
    Run().Run();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string> { "Pagewell: Out of memory." }));
    EXPECT_EQ(m_ui.m_messages[0].icon, EMessageIcon::Stop);
    EXPECT_EQ(Read("out/index.htm"), "new \r\n");
    EXPECT_EQ(Read("out/about.htm"), "old about");
    EXPECT_EQ(Read("out/zz.htm"), "old zz");
    EXPECT_EQ(OutNames(), (std::vector<std::string> { "about.htm", "index.htm", "zz.htm" }));
}

TEST_F(HostileProject, PagesThatGrowWithoutBoundAreStopped)
{
    struct CCase {
        const char* pszParagraph;
        const char* pszMessage;
    };
    // LINKS assigned twice doubles the expansions per level; LINKBODY
    // inserted twice doubles the text.
    const CCase cases[] = {
        { "[@LINKS=!][@LINKS=!][LINKBODY]", "the page takes too many steps" },
        { "x[@LINKS=!][LINKBODY][LINKBODY]", "the page grows too large" },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.pszParagraph);
        m_pRun.reset();
        m_ui = CScriptedUserInterface();
        m_tree.DeleteAllItems();
        const HTREEITEM hRoot = Add(nullptr, "index");
        HTREEITEM hLevel = hRoot;
        for (int i = 0; i < 40; ++i)
            hLevel = Add(hLevel, "s" + std::to_string(i), NODE_PARAGRAPH);
        Add(hRoot, "next");
        WriteTemplates("[@LINKS=!][LINKBODY]", test.pszParagraph);
        Write("out/index.htm", "old index");
        Run().SetPageLimits({ .nMaxBytes = 1 << 20, .nMaxSteps = 10000 });
        Run().Run();

        EXPECT_EQ(MessageTexts(),
            (std::vector<std::string> {
                std::string("CreateNode() ERROR: Unable to expand index: ") + test.pszMessage }));
        EXPECT_EQ(Read("out/index.htm"), "old index");
        EXPECT_EQ(Read("out/next.htm"), "\r\n");
        EXPECT_EQ(OutNames(), (std::vector<std::string> { "index.htm", "next.htm" }));
    }
}

} // namespace
