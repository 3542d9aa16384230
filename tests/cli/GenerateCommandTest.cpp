#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "../generator/GeneratorFixture.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"

namespace {

// A workspace (the current directory) with its own templates and images, and
// a saved project of a root page with one child page.
class GenerateCommand : public ::testing::Test {
protected:
    GenerateCommand()
        : m_cwd(m_folder.Path())
    {
        Write("templates/Default.hdr.txt", "[@TAG=!][@TITLE=!]<[TAG]:[TITLE]>\n");
        Write("images/pagewell.jpg", "jpg");
        Write("images/bluerib.gif", "gif");
        std::filesystem::create_directory(m_folder.File("site"));
        SaveProject(m_folder.File("site"));
    }

    void Write(const std::string& path, const std::string& contents)
    {
        std::filesystem::create_directories(std::filesystem::path(m_folder.File(path)).parent_path());
        WriteWholeFile(m_folder.File(path), contents);
    }

    void SaveProject(const std::string& destination)
    {
        CScriptedUserInterface ui;
        CPagewellDoc doc(ui);
        const HTREEITEM hRoot = doc.CreateRootPage();
        doc.m_tree.GetItemData(hRoot)->m_strTitle = "Home";
        doc.m_tree.InsertItem("News", std::make_unique<CNode>(&doc), hRoot, ETreeInsert::Last);
        doc.m_dlgGenerate.m_strDestination = destination;
        ASSERT_TRUE(doc.DoFileSaveAs(m_folder.File("site.pwl")));
    }

    int Generate(std::vector<std::string> args)
    {
        args.insert(args.begin(), "generate");
        m_out.str("");
        m_err.str("");
        return RunCli(args, m_out, m_err);
    }

    CTempFolder m_folder;
    CCurrentDirectory m_cwd;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(GenerateCommand, GeneratesIntoTheProjectDestinationAndPrintsTheLog)
{
    ASSERT_EQ(Generate({ "site.pwl" }), kExitOk);
    const std::string d = m_folder.File("site");
    EXPECT_EQ(m_out.str(),
        "Generating... " + d
            + "/index.htm\r\n"
              "Parsing template file: templates/Default.hdr.txt\r\n"
              "Generating... "
            + d
            + "/news.htm\r\n"
              "Parsing template file: templates/Default.hdr.txt\r\n"
              "Copying file images/pagewell.jpg to "
            + d
            + "/pagewell.jpg\r\n"
              "Copying file images/bluerib.gif to "
            + d + "/bluerib.gif\r\n");
    EXPECT_EQ(m_err.str(), "");
    EXPECT_EQ(ReadWholeFile(d + "/index.htm"), "<index:Home>\r\n\r\n");
    EXPECT_EQ(ReadWholeFile(d + "/bluerib.gif"), "gif");
}

TEST_F(GenerateCommand, DestinationAndLowercaseOptions)
{
    const std::string d = m_folder.File("other");
    std::filesystem::create_directory(d);
    ASSERT_EQ(Generate({ "--no-lowercase", "site.pwl", "--dest", d }), kExitOk) << m_err.str();
    EXPECT_EQ(ReadWholeFile(d + "/Index.htm"), "<Index:Home>\r\n\r\n");
    EXPECT_TRUE(std::filesystem::exists(d + "/News.htm"));
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("site/index.htm")));

    // An empty --dest is the run's own refusal, not a folder to make.
    EXPECT_EQ(Generate({ "site.pwl", "--dest", "" }), kExitFailed);
    EXPECT_EQ(m_err.str(), "Pagewell: No destination folder is set.\n");
}

TEST_F(GenerateCommand, DestinationFoldersAreMadeAndRefusedByTheRunsRules)
{
    const struct {
        const char* pszDest;
        const char* pszPage; // the page as the run writes it, or none
    } cases[] = {
        { "made\\www", "made/www/index.htm" },
        { "out\\", "out/index.htm" },
        { "public/new", "public/new/index.htm" },
        { "images", nullptr },
        { "templates\\new", nullptr },
        { ".", nullptr },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszDest);
        const int status = Generate({ "site.pwl", "--dest", test.pszDest });
        if (test.pszPage != nullptr) {
            EXPECT_EQ(status, kExitOk) << m_err.str();
            EXPECT_TRUE(std::filesystem::is_regular_file(m_folder.File(test.pszPage)));
        } else {
            EXPECT_EQ(status, kExitFailed);
            EXPECT_NE(
                m_err.str().find("is the workspace or one of the folders the run reads"), std::string::npos)
                << m_err.str();
        }
    }
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path()))
        EXPECT_EQ(entry.path().filename().string().find('\\'), std::string::npos) << entry.path();
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("templates/new")));
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("index.htm")));
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("images/index.htm")));
}

TEST_F(GenerateCommand, MessageBoxesGoToStandardErrorAndFailTheRun)
{
    std::filesystem::remove(m_folder.File("templates/Default.hdr.txt"));
    EXPECT_EQ(Generate({ "site.pwl" }), kExitFailed);
    EXPECT_EQ(m_err.str(),
        "CreateNode() ERROR: Unable to open template file: templates/Default.hdr.txt\n"
        "CreateNode() ERROR: Unable to open template file: templates/Default.hdr.txt\n");
    // The run went on through both pages, writing neither: without its
    // template a page would hold nothing.
    EXPECT_FALSE(std::filesystem::exists(m_folder.File("site/news.htm")));
}

TEST_F(GenerateCommand, UnableToOpenLogLinesFailTheRun)
{
    std::filesystem::remove(m_folder.File("images/bluerib.gif"));
    EXPECT_EQ(Generate({ "site.pwl" }), kExitFailed);
    EXPECT_EQ(m_err.str(), "");
    EXPECT_NE(m_out.str().find("Unable to open images/bluerib.gif for read.\r\n"), std::string::npos);
}

TEST_F(GenerateCommand, WrongArgumentsOrProject)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>> {
             {}, { "a.pwl", "b.pwl" }, { "site.pwl", "--dest" }, { "site.pwl", "--fast" } }) {
        EXPECT_EQ(Generate(args), kExitUsage);
        EXPECT_NE(m_err.str().find("usage: pagewell-cli generate"), std::string::npos);
    }
    EXPECT_EQ(Generate({ "missing.pwl" }), kExitUsage);
    EXPECT_EQ(m_out.str(), "");
}

} // namespace
