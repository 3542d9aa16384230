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
#include "support/CSshServer.h"

// A workspace with a small site (a home page, two pages, two images) and a
// folder it is published into: directly (file://) or through a real sshd on
// a loopback port (sftp://), as the test's parameter says. The client gets a
// HOME, cache and no SSH agent of the test's own.
class PublishFixture : public ::testing::TestWithParam<bool> {
protected:
    PublishFixture()
        : m_cwd(m_folder.Path())
    { }

    void SetUp() override
    {
        for (const char* name : { "HOME", "XDG_CACHE_HOME", "SSH_AUTH_SOCK", "PAGEWELL_PASSWORD" }) {
            const char* pValue = std::getenv(name);
            m_savedEnv.emplace_back(
                name, pValue != nullptr ? std::optional<std::string>(pValue) : std::nullopt);
        }
        setenv("HOME", m_folder.File("home").c_str(), 1);
        setenv("XDG_CACHE_HOME", m_folder.File("cache").c_str(), 1);
        unsetenv("SSH_AUTH_SOCK");
        unsetenv("PAGEWELL_PASSWORD");
        std::filesystem::create_directories(m_folder.File("home"));
        Write("templates/Default.hdr.txt", "[@TAG=!][@TITLE=!]<[TAG]:[TITLE]>\n");
        Write("images/pagewell.jpg", "jpg");
        Write("images/bluerib.gif", "gif");
        std::filesystem::create_directory(m_folder.File("site"));
        SaveProject({ { "Home", "Welcome" }, { "News", "News" }, { "About", "About us" } });
        m_strRemote = m_folder.File("remote/www");
        if (IsSftp()) {
            if (!CSshServer::IsAvailable())
                GTEST_SKIP() << "sshd is not installed";
            m_pServer = std::make_unique<CSshServer>(m_folder.File("sshd"), m_folder.File("home"));
            ASSERT_TRUE(m_pServer->Start()) << m_pServer->GetLog();
            m_pServer->TrustHostKey();
        }
    }

    void TearDown() override
    {
        m_pServer.reset();
        for (const auto& [name, value] : m_savedEnv) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    bool IsSftp() const { return GetParam(); }

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

    std::string Url() const { return IsSftp() ? m_pServer->Url(m_strRemote) : "file://" + m_strRemote; }

    int Publish(std::vector<std::string> args = {})
    {
        args.insert(args.begin(), { "publish", "site.pwl", "--to", Url() });
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
    std::map<std::string, std::string> RemoteFiles() const { return FilesOf(m_strRemote); }
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
    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnv;
    std::ostringstream m_out;
    std::ostringstream m_err;
};
