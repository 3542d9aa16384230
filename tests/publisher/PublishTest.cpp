#include <atomic>
#include <fstream>

#include "PublishFixture.h"
#include "publisher/CLocalSite.h"
#include "publisher/CPublishTarget.h"
#include "publisher/CPublisher.h"
#include "publisher/IPublishPrompt.h"
#include "publisher/IRemoteFolder.h"

namespace {

using SitePublish = PublishFixture;

// Accepts no host key, the certificate named, and gives the password of
// PAGEWELL_PASSWORD once.
struct CTestPrompt : IPublishPrompt {
    std::string strCertificate;
    bool AcceptHostKey(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> AskPassword(const std::string&, bool bRetry) override
    {
        const char* pPassword = std::getenv("PAGEWELL_PASSWORD");
        return pPassword != nullptr && !bRetry ? std::optional<std::string>(pPassword) : std::nullopt;
    }
    bool AcceptCertificate(const std::string&, const std::string& fingerprint, const std::string&) override
    {
        return fingerprint == strCertificate;
    }
};

// Stops the publish after a number of files: the server is killed or the
// publish cancelled (folder), as a lost connection or a Cancel would.
struct CInterruptingListener : IPublishListener {
    std::function<void()> interrupt;
    int nLeft = 2;
    void OnFileDone(EAction, const std::string&, uint64_t) override
    {
        if (--nLeft == 0)
            interrupt();
    }
    void OnProgress(const CPublishProgress&) override { }
};

TEST_P(SitePublish, FirstPublishSendsExactlyTheSiteAndTheRecord)
{
    ASSERT_EQ(Publish({ "--dry-run" }), kExitOk) << m_err.str();
    EXPECT_NE(m_out.str().find("plan: 5 files to send"), std::string::npos) << m_out.str();
    EXPECT_TRUE(RemoteFiles().empty());

    // A stray file of the destination is not part of the site.
    Write("site/stray.txt", "not generated");
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    auto local = LocalSite();
    local.erase("stray.txt");
    EXPECT_EQ(RemoteSite(), local);
    EXPECT_EQ(Lines("sent ").size(), 5u);
    EXPECT_TRUE(RemoteFiles().contains(".pagewell-published"));
    EXPECT_FALSE(RemoteFiles().contains(".pagewell-files"));
    // The home page goes after the other pages, the images before them.
    const std::string out = m_out.str();
    EXPECT_LT(out.find("sent pagewell.jpg"), out.find("sent news.htm"));
    EXPECT_LT(out.find("sent news.htm"), out.find("sent home.htm"));
    EXPECT_LT(out.find("sent about.htm"), out.find("sent home.htm"));
}

TEST_P(SitePublish, MissingSiteFolderIsMadeNotFailedPageByPage)
{
    std::filesystem::remove_all(m_folder.File("site"));
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    EXPECT_EQ(m_err.str().find("ERROR"), std::string::npos) << m_err.str();
    EXPECT_EQ(RemoteSite(), LocalSite());
}

TEST_P(SitePublish, UnchangedSiteWritesNothingAtAll)
{
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    const auto record = std::filesystem::last_write_time(RemotePath(".pagewell-published"));
    const auto before = RemoteFiles();
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    EXPECT_NE(m_out.str().find("nothing to publish"), std::string::npos) << m_out.str();
    EXPECT_EQ(RemoteFiles(), before);
    EXPECT_EQ(std::filesystem::last_write_time(RemotePath(".pagewell-published")), record);
}

TEST_P(SitePublish, ChangedAndDeletedPagesAreTheOnlyChanges)
{
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    SaveProject({ { "Home", "Welcome" }, { "News", "Latest news" }, { "About", "About us" } });
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    EXPECT_EQ(Lines("replaced "), std::vector<std::string> { "news.htm" });
    EXPECT_TRUE(Lines("sent ").empty());
    EXPECT_EQ(RemoteSite(), LocalSite());

    SaveProject({ { "Home", "Welcome" }, { "News", "Latest news" } });
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    EXPECT_EQ(Lines("removed "), std::vector<std::string> { "about.htm" });
    // Generation without --clean leaves the old page locally; it is not sent.
    EXPECT_TRUE(LocalSite().contains("about.htm"));
    EXPECT_FALSE(RemoteSite().contains("about.htm"));
}

TEST_P(SitePublish, ForeignFilesAreKeptAndClashesNamed)
{
    PlantRemote("foreign.txt", "the user's");
    PlantRemote("news.htm", "the user's page");
    ASSERT_EQ(Publish(), kExitFailed);
    EXPECT_NE(m_err.str().find("news.htm is a file Pagewell did not put there"), std::string::npos)
        << m_err.str();
    EXPECT_EQ(RemoteFiles()["news.htm"], "the user's page");
    EXPECT_EQ(RemoteFiles()["home.htm"], LocalSite()["home.htm"]);

    ASSERT_EQ(Publish({ "--overwrite-foreign" }), kExitOk) << m_err.str();
    EXPECT_EQ(Lines("replaced "), std::vector<std::string> { "news.htm" });
    auto expected = LocalSite();
    expected["foreign.txt"] = "the user's";
    EXPECT_EQ(RemoteSite(), expected);

    // Once the site no longer has it, the replaced file is ours to remove;
    // the foreign one never is.
    SaveProject({ { "Home", "Welcome" } });
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    EXPECT_FALSE(RemoteSite().contains("news.htm"));
    EXPECT_EQ(RemoteSite()["foreign.txt"], "the user's");
}

TEST_P(SitePublish, InterruptedPublishLeavesWholeFilesAndTheNextCompletes)
{
    ASSERT_EQ(RunCli({ "generate", "site.pwl" }, m_out, m_err), kExitOk);
    CScriptedUserInterface ui;
    CPagewellDoc doc(ui);
    ASSERT_TRUE(doc.DoFileOpen(m_folder.File("site.pwl")));
    std::vector<CLocalFile> files;
    std::string error;
    ASSERT_TRUE(CLocalSite::Collect("site", doc.m_dlgGenerate.OnGenerate(doc), files, error)) << error;
    CPublishTarget target;
    ASSERT_TRUE(CPublishTarget::Parse(Url(), target, error)) << error;
    CTestPrompt prompt;
    prompt.strCertificate = m_pFtp ? m_pFtp->GetFingerprint() : "";
    std::atomic<bool> cancel { false };
    CInterruptingListener listener;
    listener.interrupt = [&] {
        if (IsFolder())
            cancel = true;
        else
            KillServer();
    };
    {
        const auto pFolder = CreateRemoteFolder(target, prompt);
        CPublisher publisher(*pFolder, listener);
        ASSERT_TRUE(publisher.Prepare(files, false, error)) << error;
        std::vector<std::string> errors;
        EXPECT_FALSE(publisher.Execute(2, cancel, errors));
    }
    // Every file there is whole: a name of the site holds its bytes.
    const auto local = LocalSite();
    for (const auto& [name, bytes] : RemoteSite()) {
        if (!name.starts_with(IRemoteFolder::kTempPrefix))
            EXPECT_EQ(bytes, local.at(name)) << name;
    }
    EXPECT_LT(RemoteSite().size(), local.size());
    ASSERT_TRUE(RestartServer());
    // What the interrupted publish put there is ours, not a clash.
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    EXPECT_EQ(RemoteSite(), local);
}

TEST_P(SitePublish, HostileRecordIsRefusedAndNothingChanges)
{
    PlantRemote("sub/x", "deeper");
    // Object storage has no links, and an FTP server shows one as what it
    // leads to (removing or replacing it there acts on the link itself).
    const bool bShowsLinks = IsFolder() || IsSftp();
    if (bShowsLinks)
        std::filesystem::create_symlink(m_folder.File("site.pwl"), m_strRemote + "/link.htm");
    for (const std::string line :
        { "- - ../x", "- - /etc/passwd", "- - sub/x", "- - ..", "- - link.htm", "- - sub", "nothash 3 x" }) {
        if (!bShowsLinks && line == "- - link.htm")
            continue;
        PlantRemote(".pagewell-published", "pagewell-published 1\n" + line + "\n");
        const auto before = RemoteFiles();
        EXPECT_EQ(Publish(), kExitFailed) << line;
        EXPECT_NE(m_err.str().find(".pagewell-published"), std::string::npos) << m_err.str();
        EXPECT_EQ(RemoteFiles(), before) << line;
    }
}

std::string TargetName(const ::testing::TestParamInfo<ETarget>& info)
{
    static const char* const kNames[] = { "Folder", "Sftp", "Ftps", "S3" };
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Targets, SitePublish,
    ::testing::Values(ETarget::Folder, ETarget::Sftp, ETarget::Ftps, ETarget::S3), TargetName);

// The host key checks, against the SSH server only.
using PublishHostKey = PublishFixture;

TEST_P(PublishHostKey, UnknownKeyNeedsItsFingerprintAndChangedKeyIsRefused)
{
    std::filesystem::remove(m_folder.File("home/.ssh/known_hosts"));
    const std::string fingerprint = m_pServer->GetFingerprint();
    ASSERT_EQ(Publish(), kExitFailed);
    EXPECT_NE(m_err.str().find("--accept-host-key " + fingerprint), std::string::npos) << m_err.str();
    EXPECT_TRUE(RemoteFiles().empty());
    ASSERT_EQ(Publish({ "--accept-host-key", "SHA256:AAAA" }), kExitFailed);

    ASSERT_EQ(Publish({ "--accept-host-key", fingerprint }), kExitOk) << m_err.str();
    // Remembered: no option needed the next time.
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();

    m_pServer->Kill();
    m_pServer->ChangeHostKey();
    ASSERT_TRUE(m_pServer->Start());
    SaveProject({ { "Home", "Changed" } });
    const auto before = RemoteFiles();
    for (const std::vector<std::string>& args :
        { std::vector<std::string> {}, { "--accept-host-key", m_pServer->GetFingerprint() } }) {
        ASSERT_EQ(Publish(args), kExitFailed);
        EXPECT_NE(m_err.str().find("has changed"), std::string::npos) << m_err.str();
        EXPECT_NE(m_err.str().find("ssh-keygen -R '[127.0.0.1]:"), std::string::npos) << m_err.str();
        EXPECT_EQ(RemoteFiles(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Sftp, PublishHostKey, ::testing::Values(ETarget::Sftp), TargetName);

// What a server answers, in words, against the servers with folders.
using PublishErrors = PublishFixture;

TEST_P(PublishErrors, ErrorsNameTheHostAndThePath)
{
    // A file where the folder should be.
    std::filesystem::create_directories(m_folder.File("remote"));
    WriteWholeFile(m_strRemote, "a file");
    ASSERT_EQ(Publish(), kExitFailed);
    // The FTP account's home is the folder "remote".
    EXPECT_NE(m_err.str().find("127.0.0.1:" + (IsSftp() ? m_strRemote : "/www")), std::string::npos)
        << m_err.str();
    EXPECT_NE(m_err.str().find("file where a folder is needed"), std::string::npos) << m_err.str();
    // Nobody listening.
    KillServer();
    ASSERT_EQ(Publish(), kExitFailed);
    EXPECT_NE(m_err.str().find("cannot connect to 127.0.0.1 port"), std::string::npos) << m_err.str();
}

INSTANTIATE_TEST_SUITE_P(Servers, PublishErrors, ::testing::Values(ETarget::Sftp, ETarget::Ftps), TargetName);

} // namespace
