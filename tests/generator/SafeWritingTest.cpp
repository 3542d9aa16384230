// Pages rendered in memory and written atomically: a run that fails or is
// killed never leaves the site worse than it found it.
#include <atomic>
#include <csignal>
#include <sys/wait.h>

#include "GeneratorFixture.h"
#include "generator/CPageRenderer.h"
#include "platform/CAtomicFile.h"
#include "platform/CCollectingUserInterface.h"

namespace {

class SafeWriting : public CGeneratorFixture {
protected:
    // Root "index" with a section and a child page "about".
    void MakeSite()
    {
        const HTREEITEM hRoot = Add(nullptr, "index");
        Add(hRoot, "news", NODE_PARAGRAPH);
        Add(hRoot, "about");
        WriteTemplates("[@TAG=!][TAG]:[@LINKS=!][LINKBODY]", "<[@TAG=!][TAG]>");
    }
};

TEST_F(SafeWriting, RendererMakesThePageBytesWithoutWriting)
{
    MakeSite();
    Run().Run();
    const std::string written = Read("out/index.htm");

    // A run without a destination renders the same bytes, reports through a
    // collecting interface and creates nothing.
    std::filesystem::remove_all(m_folder.File("out"));
    m_settings.m_strDestination.clear();
    CCollectingUserInterface ui;
    const CFileLocator locator(Files(), "");
    CGenerationRun run(m_tree, m_props, m_settings, ui, CFileSystem::Real(), locator);
    const CRenderedPage page = CPageRenderer(run).Render(m_tree.GetRootItem());
    EXPECT_TRUE(page.bComplete);
    EXPECT_EQ(page.strText, written);
    EXPECT_EQ(page.strLog,
        "Parsing template file: templates/Default.hdr.txt\r\nParsing template file: "
        "templates/Default.pgh.txt\r\n");
    EXPECT_TRUE(ui.m_messages.empty());
    EXPECT_FALSE(Exists("out"));

    m_props.m_strTemplate = "Gone";
    const CRenderedPage missing = CPageRenderer(run).Render(m_tree.GetRootItem());
    EXPECT_FALSE(missing.bComplete);
    ASSERT_EQ(ui.m_messages.size(), 1u);
    EXPECT_EQ(ui.m_messages[0].strText, "Unable to open template file: templates/Gone.hdr.txt");
}

TEST_F(SafeWriting, MissingTemplateSetLeavesTheOldSite)
{
    MakeSite();
    Write("out/index.htm", "old index");
    m_props.m_strTemplate = "Gone";
    Run().Run();
    // The messages and the log are those of every run with a missing set;
    // the old page stays and no new one is made.
    const std::string d = m_settings.m_strDestination;
    ASSERT_EQ(m_ui.m_messages.size(), 2u);
    EXPECT_EQ(m_ui.m_messages[1].strText, "Unable to open template file: templates/Gone.hdr.txt");
    EXPECT_EQ(ShownLog(),
        "Generating... " + d + "/index.htm\r\nGenerating... " + d
            + "/about.htm\r\nUnable to open images/pagewell.jpg for read.\r\n"
              "Unable to open images/bluerib.gif for read.\r\n");
    EXPECT_EQ(Read("out/index.htm"), "old index");
    EXPECT_EQ(OutNames(), (std::vector<std::string> { "index.htm" }));
}

TEST_F(SafeWriting, FailedCopyKeepsTheOldImage)
{
    MakeSite();
    Write("images/pagewell.jpg", std::string(3000, 'j'));
    Write("out/pagewell.jpg", "old jpg");
    // A source that turns into a folder cannot be read: the copy is dropped.
    std::filesystem::remove(m_folder.File("images/pagewell.jpg"));
    std::filesystem::create_directory(m_folder.File("images/pagewell.jpg"));
    Run().Run();
    EXPECT_EQ(Read("out/pagewell.jpg"), "old jpg");
    EXPECT_EQ(OutNames(), (std::vector<std::string> { "about.htm", "index.htm", "pagewell.jpg" }));
}

// The real file system, killing its own process when the nth replacement
// has been made and written to, before it is committed.
class CKillingFileSystem : public CFileSystem {
public:
    explicit CKillingFileSystem(int nKillAt)
        : m_nKillAt(nKillAt)
    { }
    std::unique_ptr<CAtomicFile> CreateReplacement(const std::string& path, EFileError& error) override
    {
        if (m_nMade++ == m_nKillAt) {
            auto pFile = CFileSystem::CreateReplacement(path, error);
            pFile->GetFile().Write("partial");
            ::raise(SIGKILL);
        }
        return CFileSystem::CreateReplacement(path, error);
    }

private:
    int m_nKillAt;
    std::atomic<int> m_nMade { 0 }; // pages are made on two threads
};

TEST_F(SafeWriting, KilledRunLeavesEveryFileOldOrCompleteAndTheNextRunClearsUp)
{
    MakeSite();
    Write("images/pagewell.jpg", "new jpg");
    Write("images/bluerib.gif", "new gif");
    const std::vector<std::string> names = { "index.htm", "about.htm", "pagewell.jpg", "bluerib.gif" };
    for (int nKillAt = 0; nKillAt < 4; ++nKillAt) {
        SCOPED_TRACE(nKillAt);
        for (const std::string& name : names)
            Write("out/" + name, "old");
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            CKillingFileSystem files(nKillAt);
            CScriptedUserInterface ui;
            const CFileLocator locator(files, "");
            CGenerationRun(m_tree, m_props, m_settings, ui, files, locator).Run();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(Read("out/" + names[i]) == "old", static_cast<int>(i) >= nKillAt) << names[i];
        // The killed run's temporary file, unless it had no name (O_TMPFILE).
        EXPECT_GE(OutNames().size(), names.size());
        EXPECT_LE(OutNames().size(), names.size() + 1);

        m_pRun.reset();
        Run().Run();
        EXPECT_EQ(Read("out/index.htm"), "index:<news>\r\n");
        EXPECT_EQ(OutNames(),
            (std::vector<std::string> { "about.htm", "bluerib.gif", "index.htm", "pagewell.jpg" }));
    }
}

TEST_F(SafeWriting, LeftoversOfARunningProcessAndOtherFilesStay)
{
    MakeSite();
    const std::string mine = std::string(CFileSystem::kTempPrefix) + std::to_string(::getppid()) + "-3";
    for (const std::string& name :
        { mine, std::string(CFileSystem::kTempPrefix) + "x-1", std::string(".pagewell-keep") })
        Write("out/" + name, "");
    Run().Run();
    EXPECT_TRUE(Exists("out/" + mine));
    EXPECT_TRUE(Exists("out/.pagewell-tmp-x-1"));
    EXPECT_TRUE(Exists("out/.pagewell-keep"));
}

} // namespace
