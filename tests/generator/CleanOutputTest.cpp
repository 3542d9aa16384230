// A clean run removes a file only when an earlier run wrote it and it still
// holds what was written; a run never writes among its own sources.
#include <filesystem>
#include <functional>

#include "GeneratorFixture.h"
#include "generator/COutputManifest.h"

namespace {

class CleanOutput : public CGeneratorFixture {
protected:
    CleanOutput()
    {
        WriteTemplates("[@TITLE=!]<h1>[TITLE]</h1>\n");
        Write("images/pagewell.jpg", "jpg");
        Write("images/bluerib.gif", "gif");
    }
    void Generate()
    {
        m_pRun.reset();
        m_ui.m_messages.clear();
        Run().Run();
    }
    bool Said(const std::string& text) const
    {
        for (const auto& message : m_ui.m_messages) {
            if (message.strText.find(text) != std::string::npos)
                return true;
        }
        return false;
    }
    static constexpr const char* kGonePage = "<h1>gone</h1>\r\n\r\n";
};

TEST_F(CleanOutput, RemovesOnlyFilesItWroteThatStillHoldWhatItWrote)
{
    struct CCase {
        const char* pszName;
        std::function<void()> before; // the first run
        std::function<void()> between; // the first run and the clean one
        bool bRemoved;
        const char* pszLogNote = "";
    };
    const auto appendToList = [this](const std::string& line) {
        return [this, line] { Write("out/.pagewell-files", Read("out/.pagewell-files") + line); };
    };
    const auto nothing = [] {};
    const std::vector<CCase> cases = {
        { "written by the run, untouched", nothing, nothing, true },
        { "changed since", nothing, [this] { Write("out/gone.htm", "edited"); }, false,
            ": it changed since Pagewell wrote it." },
        { "grown since", nothing, [this] { Write("out/gone.htm", std::string(kGonePage) + "more"); }, false,
            ": it changed since" },
        { "the user's file, equal to the page before the first run",
            [this] { Write("out/gone.htm", kGonePage); }, nothing, false },
        { "the user's file, kept as the page that could not be made",
            [this] {
                std::filesystem::remove(m_folder.File("templates/Default.hdr.txt"));
                Write("out/gone.htm", "mine");
            },
            [this] { WriteTemplates("[@TITLE=!]<h1>[TITLE]</h1>\n"); }, false },
        { "the user's file, named in the list by hand", [this] { Write("out/mine.htm", kGonePage); },
            appendToList("- mine.htm\n5 0123456789abcdef0123456789abcdef mine.htm\n"), false },
        { "a list of the first version, names only", nothing,
            [this] { Write("out/.pagewell-files", "pagewell-files 1\ngone.htm\nindex.htm\n"); }, false,
            ": what Pagewell wrote there is not known." },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.pszName);
        std::filesystem::remove_all(m_folder.File("out"));
        std::filesystem::create_directory(m_folder.File("out"));
        m_tree.DeleteAllItems();
        m_settings.m_bClean = 0;
        Add(Add(nullptr, "index"), "gone");
        test.before();
        Generate();
        const std::string user = Exists("out/mine.htm") ? "out/mine.htm" : "out/gone.htm";
        m_tree.DeleteItem(m_tree.GetRootItem()->GetFirstChild());
        test.between();
        const std::string bytes = Read(user);
        m_settings.m_bClean = 1;
        Generate();
        EXPECT_EQ(!Exists(user), test.bRemoved);
        if (!test.bRemoved) {
            EXPECT_EQ(Read(user), bytes) << "kept as it was";
        }
        EXPECT_NE(ShownLog().find(test.pszLogNote), std::string::npos) << ShownLog();
        // A file once kept is the user's: no later run lists or removes it.
        EXPECT_FALSE(COutputManifest::Parse(Read("out/.pagewell-files")).Contains("gone.htm"));
    }
}

TEST_F(CleanOutput, AFileFoundAsTheRunWouldWriteItStaysOursOnlyIfItWasOurs)
{
    const HTREEITEM hRoot = Add(nullptr, "index");
    Write("out/index.htm", "<h1>index</h1>\r\n\r\n");
    Generate();
    EXPECT_FALSE(COutputManifest::Parse(Read("out/.pagewell-files")).Contains("index.htm"));
    EXPECT_TRUE(COutputManifest::Parse(Read("out/.pagewell-files")).Contains("pagewell.jpg"))
        << "the copy was written: ours";
    Node(hRoot).m_strTitle = "Changed";
    Generate();
    // Written now: ours, and after an unchanged run still ours.
    Generate();
    const COutputManifest list = COutputManifest::Parse(Read("out/.pagewell-files"));
    ASSERT_TRUE(list.Contains("index.htm"));
    EXPECT_EQ(*list.Find("index.htm")->digest, COutputManifest::CDigest::Of(Read("out/index.htm")));
    EXPECT_EQ(*list.Find("pagewell.jpg")->digest, COutputManifest::CDigest::Of("jpg"));

    // An entry of the first version stays listed, its bytes unknown.
    Write("out/.pagewell-files", "pagewell-files 1\nindex.htm\n");
    Generate();
    ASSERT_TRUE(COutputManifest::Parse(Read("out/.pagewell-files")).Contains("index.htm"));
    EXPECT_FALSE(COutputManifest::Parse(Read("out/.pagewell-files")).Find("index.htm")->digest);
}

TEST_F(CleanOutput, ADestinationAmongTheSourcesIsRefused)
{
    const struct {
        std::string destination;
        bool bRefused;
    } cases[] = {
        { ".", true },
        { m_folder.Path(), true },
        { m_folder.Path() + "/", true },
        { "images", true },
        { "Images\\sub", true },
        { "./templates/", true },
        { "lineimages", true },
        { "bullets/deep/er", true },
        { "background", true },
        { "public/../images", true },
        { "public", false },
        { "images-site", false },
        { m_folder.File("out"), false },
    };
    Write("images/book.gif", "the user's");
    Add(nullptr, "index");
    for (const auto& test : cases) {
        SCOPED_TRACE(test.destination);
        m_settings.m_strDestination = test.destination;
        std::filesystem::create_directories(m_folder.File("public"));
        std::filesystem::create_directories(m_folder.File("images-site"));
        Generate();
        EXPECT_EQ(Said("is the workspace or one of the folders the run reads"), test.bRefused);
        EXPECT_EQ(
            Exists("index.htm") || Exists("images/index.htm") || Exists("images/.pagewell-files"), false);
    }
    EXPECT_EQ(Read("images/book.gif"), "the user's");
}

TEST_F(CleanOutput, AnEmptyProjectRemovesNothing)
{
    Add(nullptr, "index");
    Generate();
    m_tree.DeleteAllItems();
    m_settings.m_bClean = 1;
    Generate();
    EXPECT_TRUE(Said("The project has no objects"));
    EXPECT_TRUE(Exists("out/index.htm"));
    EXPECT_TRUE(Exists("out/pagewell.jpg"));
}

TEST(OutputManifest, ReadsBothVersionsAndSkipsWhatDoesNotRead)
{
    const std::string hash(32, 'a');
    const COutputManifest list = COutputManifest::Parse("pagewell-files 2\n3 " + hash
        + " a.htm\n- b.htm\n"
          "3 "
        + hash + "\nx " + hash + " c.htm\n3 " + std::string(32, 'G') + " d.htm\n3 " + hash + " ../e.htm\n3 "
        + hash + "  f.htm\n");
    EXPECT_EQ(list.Format(), "pagewell-files 2\n3 " + hash + "  f.htm\n3 " + hash + " a.htm\n- b.htm\n");
    EXPECT_EQ(COutputManifest::Parse(list.Format()).Format(), list.Format());
    EXPECT_FALSE(COutputManifest::Parse("pagewell-files 1\nb.htm\n").Find("b.htm")->digest);
    EXPECT_TRUE(COutputManifest::Parse("pagewell-files 3\n- b.htm\n").GetEntries().empty());
}

} // namespace
