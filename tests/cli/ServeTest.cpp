#include <filesystem>
#include <httplib.h>
#include <sstream>

#include <gtest/gtest.h>

#include "../generator/GeneratorFixture.h"
#include "cli/CServedProject.h"
#include "cli/CSiteServer.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"

namespace {

// A workspace with a template, an image and a file that is no part of the
// site, a project of a root page with one child page, and a server on an
// ephemeral port of 127.0.0.1.
class Serve : public ::testing::Test {
protected:
    Serve()
        : m_cwd(m_folder.Path())
        , m_project("site.pwl", m_server, m_out, m_err)
    {
        Write("templates/Default.hdr.txt", "[@TAG=!][@TITLE=!][@IMAGE=!]<[TAG]:[TITLE][IMAGE]></body>\n");
        Write("images/logo.gif", "GIF89a");
        Write("secret.txt", "secret");
        SaveProject("Home");
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_project.Rebuild()) << m_err.str();
        ASSERT_TRUE(m_server.Start("127.0.0.1", 0));
        m_pClient = std::make_unique<httplib::Client>("127.0.0.1", m_server.GetPort());
        m_pClient->set_connection_timeout(5);
        m_pClient->set_read_timeout(5);
    }

    void Write(const std::string& path, const std::string& contents)
    {
        std::filesystem::create_directories(std::filesystem::path(m_folder.File(path)).parent_path());
        WriteWholeFile(m_folder.File(path), contents);
    }

    void SaveProject(const CString& title, const char* pszNewsIcon = "../secret.txt")
    {
        CScriptedUserInterface ui;
        CPagewellDoc doc(ui);
        const HTREEITEM hRoot = doc.CreateRootPage();
        doc.m_tree.GetItemData(hRoot)->m_strTitle = title;
        doc.m_tree.GetItemData(hRoot)->m_info.m_strIcon = "logo.gif";
        const HTREEITEM hNews
            = doc.m_tree.InsertItem("News", std::make_unique<CNode>(&doc), hRoot, ETreeInsert::Last);
        doc.m_tree.GetItemData(hNews)->m_info.m_strIcon = pszNewsIcon;
        ASSERT_TRUE(doc.DoFileSaveAs(m_folder.File("site.pwl")));
    }

    // Status and body of a GET; -1 when the server did not answer.
    std::pair<int, std::string> Get(const std::string& path)
    {
        const httplib::Result result = m_pClient->Get(path.c_str());
        if (!result)
            return { -1, "" };
        return { result->status, result->body };
    }

    CTempFolder m_folder;
    CCurrentDirectory m_cwd;
    std::ostringstream m_out;
    std::ostringstream m_err;
    CSiteServer m_server;
    CServedProject m_project;
    std::unique_ptr<httplib::Client> m_pClient;
};

TEST_F(Serve, ServesTheSiteFilesAndNothingElse)
{
    const struct {
        const char* pszPath;
        int nStatus;
        const char* pszBodyStart;
    } kCases[] = {
        { "/", 200, "<index:Home<IMG SRC=\"logo.gif\"" },
        { "/index.htm", 200, "<index:Home" },
        { "/news.htm", 200, "<news:Untitled<IMG SRC=\"secret.txt\"" },
        { "/logo.gif", 200, "GIF89a" },
        { "/index.htm?x=1", 200, "<index:Home" },
        // The project, the workspace, folders, parents and encodings of them.
        { "/site.pwl", 404, "" },
        { "/secret.txt", 404, "" }, // named by the news page as images/../secret.txt
        { "/templates/Default.hdr.txt", 404, "" },
        { "/images/logo.gif", 404, "" },
        { "/images/", 404, "" },
        { "/index.htm/", 404, "" },
        { "/../secret.txt", 404, "" },
        { "/%2e%2e/secret.txt", 404, "" },
        { "/..%2fsecret.txt", 404, "" },
        { "/%2e%2e%2fsecret.txt", 404, "" },
        { "//etc/passwd", 404, "" },
        { "/%2fetc%2fpasswd", 404, "" },
        { "/.", 404, "" },
        { "/..", 404, "" },
        { "/INDEX.HTM", 404, "" },
    };
    for (const auto& test : kCases) {
        SCOPED_TRACE(test.pszPath);
        const auto [status, body] = Get(test.pszPath);
        EXPECT_EQ(status, test.nStatus);
        EXPECT_TRUE(body.starts_with(test.pszBodyStart)) << body;
    }
    EXPECT_NE(m_err.str().find("Unable to copy images/../secret.txt: it lies outside the workspace."),
        std::string::npos);
}

TEST_F(Serve, PagesReloadWhenTheProjectChanges)
{
    const auto [status, version] = Get(CSiteServer::kVersionPath);
    ASSERT_EQ(status, 200);
    const std::string page = Get("/index.htm").second;
    // The script sits before </body> and waits for a version past this one.
    EXPECT_NE(page.find("var v=\"" + version + "\""), std::string::npos);
    EXPECT_LT(page.find("<script>"), page.find("</body>"));
    EXPECT_FALSE(m_project.RebuildIfChanged());

    SaveProject("Changed home");
    EXPECT_TRUE(m_project.RebuildIfChanged());
    EXPECT_NE(Get(CSiteServer::kVersionPath).second, version);
    EXPECT_TRUE(Get("/index.htm").second.starts_with("<index:Changed home"));

    // A workspace file counts as much as the project.
    Write("templates/Default.hdr.txt", "[@TAG=!]new [TAG]\n");
    EXPECT_TRUE(m_project.RebuildIfChanged());
    EXPECT_TRUE(Get("/index.htm").second.starts_with("new index"));
}

TEST_F(Serve, AProjectThatDoesNotLoadKeepsTheLastGoodSite)
{
    Write("site.pwl", "not a project");
    EXPECT_FALSE(m_project.RebuildIfChanged());
    EXPECT_NE(m_err.str().find("did not load; the last good site stays served"), std::string::npos);
    EXPECT_TRUE(Get("/index.htm").second.starts_with("<index:Home"));
}

TEST(ServeScript, GoesBeforeTheLastBodyEndOrAtTheEnd)
{
    const std::string withBody = CSiteServer::InjectReloadScript("<p></BODY>\r\n</Body></html>", 7);
    EXPECT_TRUE(withBody.starts_with("<p></BODY>\r\n<script>"));
    EXPECT_TRUE(withBody.ends_with("</script>\n</Body></html>"));
    EXPECT_NE(withBody.find("var v=\"7\""), std::string::npos);
    EXPECT_TRUE(CSiteServer::InjectReloadScript("text", 1).starts_with("text<script>"));
}

TEST(ServeCommand, WrongArgumentsOrProject)
{
    for (const std::vector<std::string>& args :
        std::vector<std::vector<std::string>> { {}, { "a.pwl", "b.pwl" }, { "a.pwl", "--port" },
            { "a.pwl", "--port", "http" }, { "a.pwl", "--port", "65536" }, { "a.pwl", "--port", "-1" },
            { "a.pwl", "--bind" }, { "a.pwl", "--bind", "" }, { "a.pwl", "--fast" } }) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunServe(args, out, err), kExitUsage);
        EXPECT_NE(err.str().find("usage: pagewell-cli serve"), std::string::npos);
    }
    CTempFolder folder;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunServe({ folder.File("missing.pwl") }, out, err), kExitUsage);
    EXPECT_EQ(out.str(), "");
}

} // namespace
