#include <chrono>
#include <filesystem>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "../generator/GeneratorFixture.h"
#include "cli/CRequestGate.h"
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

    void SaveProject(
        const CString& title, const char* pszNewsIcon = "../secret.txt", const CString& baseUrl = "")
    {
        CScriptedUserInterface ui;
        CPagewellDoc doc(ui);
        CSiteSettings settings = doc.m_dlgGenerate.GetSiteSettings();
        CString error;
        if (!baseUrl.empty()) {
            ASSERT_TRUE(settings.Set("baseurl", baseUrl, error)) << error;
        }
        doc.m_dlgGenerate.SetSiteSettings(settings);
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

TEST_F(Serve, ServesThePublishingFilesAsGenerateWritesThem)
{
    EXPECT_EQ(Get("/sitemap.xml").first, 404);
    SaveProject("Home", "logo.gif", "https://example.org/");
    ASSERT_TRUE(m_project.RebuildIfChanged());
    // The images every generated page names, which serving does without.
    Write("images/pagewell.jpg", "jpg");
    Write("images/bluerib.gif", "gif");
    std::ostringstream out;
    ASSERT_EQ(RunGenerate({ "site.pwl", "--dest", "out" }, out, out), kExitOk) << out.str();
    for (const char* pszName : { "sitemap.xml", "feed.xml", "robots.txt" }) {
        SCOPED_TRACE(pszName);
        const auto [status, body] = Get(std::string("/") + pszName);
        EXPECT_EQ(status, 200);
        EXPECT_EQ(body, ReadWholeFile(m_folder.File(std::string("out/") + pszName)));
    }
    // The workspace's own robots.txt is served as a run copies it.
    Write("robots.txt", "User-agent: *\nDisallow: /\n");
    ASSERT_TRUE(m_project.RebuildIfChanged());
    EXPECT_EQ(Get("/robots.txt").second, "User-agent: *\nDisallow: /\n");
}

// A server on 127.0.0.1 with short limits and one page.
class ServeUnderLoad : public ::testing::Test {
protected:
    // Long enough that a loaded test machine answers a page well within it.
    static constexpr auto kRequestLimit = std::chrono::milliseconds(1500);

    void SetUp() override
    {
        CRenderedSite site;
        site.pages["index.htm"] = "<p>page</p>";
        site.strHome = "index.htm";
        m_server.SetSite(std::move(site));
        ASSERT_TRUE(m_server.Start("127.0.0.1", 0));
    }

    ~ServeUnderLoad() override
    {
        for (const int fd : m_sockets)
            ::close(fd);
    }

    // A connection that has sent bytes and then nothing more.
    int Connect(const std::string& bytes)
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(m_server.GetPort()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
        m_sockets.push_back(fd);
        return fd;
    }

    // Whether the server closes fd within the time (what it answered first
    // is read past).
    static bool ClosedWithin(int fd, std::chrono::milliseconds time)
    {
        const auto end = std::chrono::steady_clock::now() + time;
        char buffer[4096];
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd entry { fd, POLLIN, 0 };
            if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0)
                return false;
            if (::recv(fd, buffer, sizeof(buffer), 0) <= 0)
                return true;
        }
    }

    CSiteServer m_server { CRequestGate::CLimits {
        std::chrono::milliseconds(600), kRequestLimit, std::chrono::milliseconds(1000), 2, 64 } };
    std::vector<int> m_sockets;
};

TEST_F(ServeUnderLoad, SlowClientsHoldNoWorkerAndAreCutOff)
{
    // Many more slow clients than workers, each in another stage of its request.
    std::vector<int> slow;
    for (int i = 0; i < 8; ++i) {
        slow.push_back(Connect("G"));
        slow.push_back(Connect("GET /index.htm HTTP/1.1\r\nHost: x\r\n"));
        slow.push_back(Connect("POST /index.htm HTTP/1.1\r\nContent-Length: 10\r\n\r\nabc"));
    }
    const int idle = Connect("");
    httplib::Client client("127.0.0.1", m_server.GetPort());
    for (int i = 0; i < 5; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const httplib::Result result = client.Get("/index.htm");
        ASSERT_TRUE(result);
        EXPECT_TRUE(result->body.starts_with("<p>page</p>"));
        EXPECT_LT(std::chrono::steady_clock::now() - start, kRequestLimit / 2);
    }
    for (const int fd : slow)
        EXPECT_TRUE(ClosedWithin(fd, kRequestLimit * 3));
    EXPECT_TRUE(ClosedWithin(idle, kRequestLimit * 3));
}

TEST_F(ServeUnderLoad, KeptConnectionsAndEarlyRequestsAreAnswered)
{
    // Two requests in one send on a kept connection: both answered, in order.
    const int fd = Connect("GET /.pagewell/version HTTP/1.1\r\nHost: x\r\n\r\n"
                           "GET /index.htm HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    std::string answers;
    char buffer[4096];
    pollfd entry { fd, POLLIN, 0 };
    while (::poll(&entry, 1, 2000) > 0) {
        const ssize_t nRead = ::recv(fd, buffer, sizeof(buffer), 0);
        if (nRead <= 0)
            break;
        answers.append(buffer, static_cast<size_t>(nRead));
    }
    const size_t version = answers.find("\r\n\r\n1HTTP/1.1 200");
    EXPECT_NE(version, std::string::npos) << answers;
    EXPECT_NE(answers.find("<p>page</p>", version), std::string::npos) << answers;
}

TEST(ServeGate, ARequestIsWholeWithItsHeadersAndAsMuchBodyAsItsLengthGives)
{
    using E = CRequestGate::EArrival;
    const struct {
        std::string bytes;
        E expected;
    } kCases[] = {
        { "", E::Partial },
        { "GET / HTTP/1.1\r\nHost: x\r\n", E::Partial },
        { "GET / HTTP/1.1\r\nHost: x\r\n\r\n", E::Whole },
        { "GET / HTTP/1.1\nHost: x\n\n", E::Whole },
        { "POST / HTTP/1.1\r\nContent-Length: 3\r\n\r\nab", E::Partial },
        { "POST / HTTP/1.1\r\ncontent-length:3\r\n\r\nabc", E::Whole },
        { "POST / HTTP/1.1\r\nX: 1\r\nCONTENT-LENGTH:  3\r\n\r\nabcGET", E::Whole },
        // Left to the worker, under the request's deadline.
        { "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", E::Whole },
        { "POST / HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", E::Whole },
        { "GET / HTTP/1.1\r\nX: " + std::string(20000, 'x'), E::TooLarge },
        { "GET / HTTP/1.1\r\nX: " + std::string(20000, 'x') + "\r\n\r\n", E::TooLarge },
    };
    for (const auto& test : kCases)
        EXPECT_EQ(CRequestGate::Arrival(test.bytes), test.expected) << test.bytes.substr(0, 60);
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
    EXPECT_EQ(RunServe({ folder.File("missing.pwl"), "--port", "0" }, out, err), kExitUsage);
    EXPECT_EQ(out.str(), "");
}

TEST(ServeCommand, APortInUseOrAnAddressNotOursFailsBeforeBuilding)
{
    CSiteServer first;
    ASSERT_TRUE(first.Start("127.0.0.1", 0));
    const std::string port = std::to_string(first.GetPort());
    const struct {
        std::vector<std::string> args;
        std::string message;
    } kCases[] = {
        { { "missing.pwl", "--port", port }, "pagewell-cli: serve: port " + port + " is in use\n" },
        // A documentation address: no interface of this machine has it.
        { { "missing.pwl", "--bind", "192.0.2.1", "--port", port },
            "pagewell-cli: serve: cannot listen on 192.0.2.1:" + port
                + ": Cannot assign requested address\n" },
    };
    for (const auto& test : kCases) {
        std::ostringstream out;
        std::ostringstream err;
        // A missing project would exit 2: the port was looked at first.
        EXPECT_EQ(RunServe(test.args, out, err), kExitFailed);
        EXPECT_EQ(err.str(), test.message);
        EXPECT_EQ(out.str(), "");
    }
}

} // namespace
