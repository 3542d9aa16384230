#pragma once

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include <gtest/gtest.h>

#include "../generator/GeneratorFixture.h"
#include "cli/Commands.h"
#include "model/CPagewellDoc.h"
#include "support/CFtpServer.h"
#include "support/CS3Server.h"
#include "support/CSshServer.h"

// Where a test publishes: a folder of this machine, a real sshd, a real FTP
// server with TLS, or a real S3-compatible server, each on a loopback port.
enum class ETarget { Folder, Sftp, Ftps, S3 };

// A workspace with a small site (a home page, two pages, two images) and a
// folder it is published into, on the target the test's parameter names.
// The client gets a HOME, cache, configuration folder and no SSH agent of
// the test's own.
class PublishFixture : public ::testing::TestWithParam<ETarget> {
protected:
    PublishFixture()
        : m_cwd(m_folder.Path())
    { }

    void SetUp() override
    {
        for (const char* name : { "HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME", "SSH_AUTH_SOCK",
                 "PAGEWELL_PASSWORD", "AWS_ACCESS_KEY_ID", "AWS_SECRET_ACCESS_KEY", "AWS_SESSION_TOKEN",
                 "AWS_SHARED_CREDENTIALS_FILE" }) {
            const char* pValue = std::getenv(name);
            m_savedEnv.emplace_back(
                name, pValue != nullptr ? std::optional<std::string>(pValue) : std::nullopt);
        }
        setenv("HOME", m_folder.File("home").c_str(), 1);
        setenv("XDG_CACHE_HOME", m_folder.File("cache").c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_folder.File("config").c_str(), 1);
        for (const char* name : { "SSH_AUTH_SOCK", "PAGEWELL_PASSWORD", "AWS_ACCESS_KEY_ID",
                 "AWS_SECRET_ACCESS_KEY", "AWS_SESSION_TOKEN", "AWS_SHARED_CREDENTIALS_FILE" })
            unsetenv(name);
        std::filesystem::create_directories(m_folder.File("home"));
        Write("templates/Default.hdr.txt", "[@TAG=!][@TITLE=!]<[TAG]:[TITLE]>\n");
        Write("images/pagewell.jpg", "jpg");
        Write("images/bluerib.gif", "gif");
        std::filesystem::create_directory(m_folder.File("site"));
        SaveProject({ { "Home", "Welcome" }, { "News", "News" }, { "About", "About us" } });
        m_strRemote = m_folder.File("remote/www");
        StartServer();
    }

    void StartServer()
    {
        switch (GetParam()) {
        case ETarget::Folder:
            break;
        case ETarget::Sftp:
            if (!CSshServer::IsAvailable())
                GTEST_SKIP() << "sshd is not installed (scripts/install-deps test installs it)";
            m_pServer = std::make_unique<CSshServer>(m_folder.File("sshd"), m_folder.File("home"));
            ASSERT_TRUE(m_pServer->Start()) << m_pServer->GetLog();
            m_pServer->TrustHostKey();
            break;
        case ETarget::Ftps:
            if (!CFtpServer::IsAvailable())
                GTEST_SKIP() << "python3-pyftpdlib is not installed (scripts/install-deps test installs it)";
            m_pFtp = std::make_unique<CFtpServer>(m_folder.File("ftpd"), m_folder.File("remote"), true);
            ASSERT_TRUE(m_pFtp->Start()) << m_pFtp->GetLog();
            setenv("PAGEWELL_PASSWORD", CFtpServer::kPassword, 1);
            m_strAccept = { "--accept-certificate", m_pFtp->GetFingerprint() };
            break;
        case ETarget::S3:
            if (!CS3Server::IsAvailable())
                GTEST_SKIP() << "the S3 test server is not installed (scripts/install-deps test installs it)";
            m_pS3 = std::make_unique<CS3Server>(m_folder.File("s3"));
            ASSERT_TRUE(m_pS3->Start()) << m_pS3->GetLog();
            setenv("AWS_ACCESS_KEY_ID", CS3Server::kKeyId, 1);
            setenv("AWS_SECRET_ACCESS_KEY", CS3Server::kSecret, 1);
            break;
        }
    }

    // Stops the server as a crash would (a folder target: nothing to stop).
    void KillServer()
    {
        if (m_pServer)
            m_pServer->Kill();
        if (m_pFtp)
            m_pFtp->Kill();
        if (m_pS3)
            m_pS3->Kill();
    }
    bool RestartServer()
    {
        return m_pServer ? m_pServer->Start() : m_pFtp ? m_pFtp->Start() : m_pS3 ? m_pS3->Start() : true;
    }

    void TearDown() override
    {
        m_pServer.reset();
        m_pFtp.reset();
        m_pS3.reset();
        for (const auto& [name, value] : m_savedEnv) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    bool IsSftp() const { return GetParam() == ETarget::Sftp; }
    bool IsS3() const { return GetParam() == ETarget::S3; }
    bool IsFolder() const { return GetParam() == ETarget::Folder; }

    void Write(const std::string& path, const std::string& contents)
    {
        std::filesystem::create_directories(std::filesystem::path(m_folder.File(path)).parent_path());
        WriteWholeFile(m_folder.File(path), contents);
    }

    // pages: label and title of the home page, then of its child pages.
    void SaveProject(const std::vector<std::pair<std::string, std::string>>& pages)
    {
        CScriptedUserInterface ui;
        CPagewellDoc doc(ui);
        const HTREEITEM hRoot = doc.CreateRootPage();
        doc.m_tree.SetItemText(hRoot, pages[0].first);
        doc.m_tree.GetItemData(hRoot)->m_strTitle = pages[0].second;
        for (size_t i = 1; i < pages.size(); ++i) {
            const HTREEITEM hItem = doc.m_tree.InsertItem(
                pages[i].first, std::make_unique<CNode>(&doc), hRoot, ETreeInsert::Last);
            doc.m_tree.GetItemData(hItem)->m_strTitle = pages[i].second;
        }
        doc.m_dlgGenerate.m_strDestination = "site";
        ASSERT_TRUE(doc.DoFileSaveAs(m_folder.File("site.pwl")));
    }

    std::string Url() const
    {
        switch (GetParam()) {
        case ETarget::Sftp:
            return m_pServer->Url(m_strRemote);
        case ETarget::Ftps:
            return m_pFtp->Url("/www/");
        case ETarget::S3:
            return m_pS3->Url("www/");
        default:
            return "file://" + m_strRemote;
        }
    }

    // Publishes the project; an FTPS server's certificate is accepted.
    int Publish(std::vector<std::string> args = {})
    {
        args.insert(args.begin(), { "publish", "site.pwl", "--to", Url() });
        args.insert(args.end(), m_strAccept.begin(), m_strAccept.end());
        m_out.str("");
        m_err.str("");
        return RunCli(args, m_out, m_err);
    }

    // The files of a folder by name, with their contents.
    static std::map<std::string, std::string> FilesOf(const std::string& folder)
    {
        std::map<std::string, std::string> files;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error))
            files[entry.path().filename()] = entry.is_symlink() ? "->" : ReadWholeFile(entry.path());
        return files;
    }
    std::map<std::string, std::string> RemoteFiles() const
    {
        return IsS3() ? m_pS3->Objects("www/") : FilesOf(m_strRemote);
    }
    // Where the bytes of a remote file lie on this machine.
    std::string RemotePath(const std::string& name) const
    {
        return IsS3() ? m_pS3->BytesPath("www/" + name) : m_strRemote + "/" + name;
    }
    // Puts a file into the remote folder as another program would.
    void PlantRemote(const std::string& name, const std::string& bytes)
    {
        if (IsS3()) {
            ASSERT_TRUE(m_pS3->PutObject("www/" + name, bytes)) << m_pS3->GetLog();
            return;
        }
        std::filesystem::create_directories(std::filesystem::path(m_strRemote + "/" + name).parent_path());
        WriteWholeFile(m_strRemote + "/" + name, bytes);
    }
    // The remote site without the publisher's record.
    std::map<std::string, std::string> RemoteSite() const
    {
        auto files = RemoteFiles();
        files.erase(".pagewell-published");
        return files;
    }
    // The generated site without the generator's list of files.
    std::map<std::string, std::string> LocalSite() const
    {
        auto files = FilesOf(m_folder.File("site"));
        files.erase(".pagewell-files");
        return files;
    }
    // The lines of the last output that start with prefix, without it.
    std::vector<std::string> Lines(const std::string& prefix) const
    {
        std::vector<std::string> lines;
        std::istringstream text(m_out.str());
        for (std::string line; std::getline(text, line);) {
            if (line.starts_with(prefix))
                lines.push_back(line.substr(prefix.size()));
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    CTempFolder m_folder;
    CCurrentDirectory m_cwd;
    std::string m_strRemote;
    std::unique_ptr<CSshServer> m_pServer;
    std::unique_ptr<CFtpServer> m_pFtp;
    std::unique_ptr<CS3Server> m_pS3;
    // The options every publish of the test is given.
    std::vector<std::string> m_strAccept;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnv;
    std::ostringstream m_out;
    std::ostringstream m_err;
};
