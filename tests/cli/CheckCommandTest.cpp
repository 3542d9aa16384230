#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include <gtest/gtest.h>

#include "../generator/GeneratorFixture.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"
#include "platform/CClock.h"

namespace {

// A workspace with its templates and images, and a saved project of a root
// page whose child page may be given a fault.
class CheckCommand : public ::testing::Test {
protected:
    CheckCommand()
        : m_cwd(m_folder.Path())
    {
        for (const char* file : { "templates/Default.hdr.txt", "templates/Default.lnk.txt",
                 "images/pagewell.jpg", "images/bluerib.gif", "images/home.gif", "images/Back.gif" }) {
            std::filesystem::create_directories(std::filesystem::path(m_folder.File(file)).parent_path());
            WriteWholeFile(m_folder.File(file), "[@TAG=!][TAG]\n");
        }
    }

    void SaveProject(const CString& linkTitle, const CString& spare = {})
    {
        CScriptedUserInterface ui;
        CPagewellDoc doc(ui);
        doc.m_dlgGenerate.m_strSpare = spare;
        const HTREEITEM hRoot = doc.CreateRootPage();
        doc.m_tree.GetItemData(hRoot)->m_info.m_clrVLink = 0x800080;
        auto pLink = std::make_unique<CNode>(nullptr);
        pLink->m_nType = NODE_LINK;
        pLink->m_strTitle = linkTitle;
        doc.m_tree.InsertItem("Club", std::move(pLink), hRoot, ETreeInsert::Last);
        ASSERT_TRUE(doc.DoFileSaveAs(m_folder.File("site.pwl")));
    }

    int Check(std::vector<std::string> args)
    {
        args.insert(args.begin(), "check");
        m_out.str("");
        m_err.str("");
        return RunCli(args, m_out, m_err);
    }

    CTempFolder m_folder;
    CCurrentDirectory m_cwd;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(CheckCommand, ACleanSiteExitsZeroAndPrintsNothing)
{
    SaveProject("Our club\r\nhttps://example.org/");
    EXPECT_EQ(Check({ "site.pwl" }), kExitOk) << m_out.str();
    EXPECT_EQ(m_out.str(), "");
    EXPECT_EQ(m_err.str(), "no errors, no warnings\n");
    EXPECT_EQ(Check({ "site.pwl", "--json" }), kExitOk);
    EXPECT_EQ(m_out.str(), "[]\n");
    EXPECT_EQ(m_err.str(), "") << "the JSON form stands alone";
}

// A language the settings hold from an older version, or from a hand-edited
// file, is named by the field as the dialog labels it.
TEST_F(CheckCommand, ALanguageThatIsNoTagIsAWarning)
{
    SaveProject("Our club\r\nhttps://example.org/", "pagewell-settings 1\nlang=English (UK)\n");
    EXPECT_EQ(Check({ "site.pwl" }), kExitFailed);
    EXPECT_EQ(
        m_out.str().rfind("(project): warning: Site language: 'English (UK)' is not a language tag", 0), 0u)
        << m_out.str();
    EXPECT_EQ(m_err.str(), "no errors, 1 warning\n");
}

TEST_F(CheckCommand, AFindingIsOneLineOrAJsonRecordAndExitsOne)
{
    SaveProject(kNewLinkTitle);
    EXPECT_EQ(Check({ "site.pwl" }), kExitFailed);
    EXPECT_EQ(m_out.str(),
        "Index/Club: error: the link's address is still \"http://\"; hint: complete the address, or remove "
        "the "
        "link\n");
    EXPECT_EQ(m_err.str(), "1 error, no warnings\n");
    EXPECT_EQ(Check({ "--json", "site.pwl" }), kExitFailed);
    const nlohmann::json findings = nlohmann::json::parse(m_out.str());
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0]["severity"], "error");
    EXPECT_EQ(findings[0]["path"], nlohmann::json::array({ "Index", "Club" }));
    EXPECT_EQ(findings[0]["message"], "the link's address is still \"http://\"");
    EXPECT_EQ(findings[0]["hint"], "complete the address, or remove the link");
}

// Spelling with a dictionary of its own ($DICPATH); a dictionary that is not
// installed is refused, naming those that are.
TEST_F(CheckCommand, SpellingListsTheUnknownWords)
{
    SaveProject("Our clubb\r\nhttps://example.org/");
    std::filesystem::create_directories(m_folder.File("dicts"));
    WriteWholeFile(m_folder.File("dicts/xx_XX.aff"), "SET UTF-8\n");
    WriteWholeFile(m_folder.File("dicts/xx_XX.dic"), "2\nour\nuntitled\n");
    setenv("DICPATH", m_folder.File("dicts").c_str(), 1);
    EXPECT_EQ(Check({ "site.pwl", "--spelling", "--dictionary", "xx_XX" }), kExitFailed);
    EXPECT_NE(m_out.str().find("Index/Club: warning: unknown word (xx_XX): clubb;"), std::string::npos)
        << m_out.str();
    EXPECT_EQ(Check({ "site.pwl", "--spelling", "--dictionary", "qq_QQ" }), kExitUsage);
    EXPECT_NE(m_err.str().find("no spelling dictionary for 'qq_QQ'; installed:"), std::string::npos)
        << m_err.str();
    EXPECT_NE(m_err.str().find(" xx_XX"), std::string::npos) << m_err.str();
    unsetenv("DICPATH");
}

TEST_F(CheckCommand, WrongArgumentsAndUnreadableProjectsExitTwo)
{
    SaveProject("Our club\r\nhttps://example.org/");
    const std::vector<std::vector<std::string>> wrong = { {}, { "site.pwl", "other.pwl" },
        { "site.pwl", "--as-of" }, { "site.pwl", "--as-of", "2027-02-30" }, { "site.pwl", "--soon", "-1" },
        { "site.pwl", "--soon", "7x" }, { "site.pwl", "--dest", "out" }, { "missing.pwl" } };
    for (const auto& args : wrong) {
        EXPECT_EQ(Check(args), kExitUsage) << ::testing::PrintToString(args);
        EXPECT_EQ(m_out.str(), "");
        EXPECT_NE(m_err.str(), "");
    }
}

TEST_F(CheckCommand, BannersAreJudgedAtTheDateGiven)
{
    // Saved with New set, stamped now and expiring after 14 days: nothing
    // today, expiring soon in a week, expired in a month.
    {
        CScriptedUserInterface ui;
        CPagewellDoc doc(ui);
        const HTREEITEM hRoot = doc.CreateRootPage();
        CNode& root = *doc.m_tree.GetItemData(hRoot);
        root.m_info.m_clrVLink = 0x800080;
        root.m_info.m_bNew = 1;
        root.m_info.m_nExpireDays = 14;
        root.m_tStamp = 1'800'000'000; // 2027-01-15
        ASSERT_TRUE(doc.DoFileSaveAs(m_folder.File("site.pwl")));
    }
    const CClock::CScopedFake today(1'800'000'000);
    EXPECT_EQ(Check({ "site.pwl", "--soon", "0" }), kExitOk) << m_out.str();
    EXPECT_EQ(Check({ "site.pwl", "--as-of", "2027-01-22" }), kExitFailed);
    EXPECT_NE(m_out.str().find("the New banner expires on 2027-01-29, within 14 days"), std::string::npos)
        << m_out.str();
    EXPECT_EQ(Check({ "site.pwl", "--as-of", "2027-02-15", "--soon", "3" }), kExitFailed);
    EXPECT_NE(m_out.str().find("the New banner expired on 2027-01-29"), std::string::npos) << m_out.str();
}

} // namespace
