#include <fstream>

#include "PublishFixture.h"
#include "support/CServerProcess.h"

namespace {

std::string TargetName(const ::testing::TestParamInfo<ETarget>& info)
{
    return info.param == ETarget::Ftps ? "Ftps" : info.param == ETarget::S3 ? "S3" : "Folder";
}

// The FTP server's certificate and account.
using FtpsPublish = PublishFixture;

TEST_P(FtpsPublish, UnknownCertificateNeedsItsFingerprintAndAChangedOneIsRefused)
{
    const std::string fingerprint = m_pFtp->GetFingerprint();
    m_strAccept.clear();
    ASSERT_EQ(Publish(), kExitFailed);
    EXPECT_NE(m_err.str().find("--accept-certificate " + fingerprint), std::string::npos) << m_err.str();
    EXPECT_TRUE(RemoteFiles().empty());
    ASSERT_EQ(Publish({ "--accept-certificate", "SHA256:AA:BB" }), kExitFailed);
    EXPECT_TRUE(RemoteFiles().empty());

    ASSERT_EQ(Publish({ "--accept-certificate", fingerprint }), kExitOk) << m_err.str();
    EXPECT_NE(
        ReadWholeFile(m_folder.File("config/pagewell/certificates")).find(fingerprint), std::string::npos);
    // Remembered: no option needed the next time.
    SaveProject({ { "Home", "Again" } });
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();

    m_pFtp->Kill();
    m_pFtp->ChangeCertificate();
    ASSERT_TRUE(m_pFtp->Start());
    SaveProject({ { "Home", "Changed" } });
    const auto before = RemoteFiles();
    for (const std::vector<std::string>& args :
        { std::vector<std::string> {}, { "--accept-certificate", m_pFtp->GetFingerprint() } }) {
        ASSERT_EQ(Publish(args), kExitFailed);
        EXPECT_NE(m_err.str().find("has changed"), std::string::npos) << m_err.str();
        EXPECT_EQ(RemoteFiles(), before);
    }
}

TEST_P(FtpsPublish, WrongPasswordIsRefusedAndPlainFtpWarns)
{
    setenv("PAGEWELL_PASSWORD", "wrong", 1);
    ASSERT_EQ(Publish(), kExitFailed);
    EXPECT_NE(m_err.str().find("authentication failed for pagewell@127.0.0.1"), std::string::npos)
        << m_err.str();
    EXPECT_TRUE(RemoteFiles().empty());

    setenv("PAGEWELL_PASSWORD", CFtpServer::kPassword, 1);
    CFtpServer plain(m_folder.File("plain"), m_folder.File("remote"), false);
    ASSERT_TRUE(plain.Start()) << plain.GetLog();
    m_out.str("");
    m_err.str("");
    ASSERT_EQ(
        RunCli({ "publish", "site.pwl", "--to", plain.Url("/www/"), "--dry-run" }, m_out, m_err), kExitOk);
    EXPECT_NE(m_out.str().find("warning: plain FTP"), std::string::npos) << m_out.str();
    ASSERT_EQ(RunCli({ "publish", "site.pwl", "--to", plain.Url("/www/") }, m_out, m_err), kExitOk)
        << m_err.str();
    EXPECT_NE(m_err.str().find("warning: plain FTP: the password and the files travel unencrypted"),
        std::string::npos)
        << m_err.str();
    EXPECT_EQ(RemoteSite(), LocalSite());
}

INSTANTIATE_TEST_SUITE_P(Ftps, FtpsPublish, ::testing::Values(ETarget::Ftps), TargetName);

// What object storage is told about each file, and its access key.
using S3Publish = PublishFixture;

TEST_P(S3Publish, EveryKindOfFileHasItsContentTypeAndTheCacheControl)
{
    Write("images/favicon.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    ASSERT_EQ(RunCli({ "settings", "site.pwl", "baseurl=https://example.org/", "encoding=utf-8",
                         "favicon=favicon.svg", "cachecontrol=max-age=60" },
                  m_out, m_err),
        kExitOk)
        << m_err.str();
    ASSERT_EQ(Publish(), kExitOk) << m_err.str();
    const std::map<std::string, std::string> kTypes
        = { { ".htm", "text/html; charset=utf-8" }, { ".gif", "image/gif" }, { ".jpg", "image/jpeg" },
              { ".svg", "image/svg+xml" }, { "sitemap.xml", "application/xml" },
              { "feed.xml", "application/atom+xml" }, { ".txt", "text/plain; charset=utf-8" } };
    const auto local = LocalSite();
    ASSERT_TRUE(local.contains("sitemap.xml") && local.contains("favicon.svg"));
    for (const auto& [name, bytes] : local) {
        const auto type = std::find_if(
            kTypes.begin(), kTypes.end(), [&](const auto& entry) { return name.ends_with(entry.first); });
        ASSERT_NE(type, kTypes.end()) << name;
        const std::string headers = m_pS3->HeadersOf("www/" + name);
        EXPECT_NE(headers.find("\"content-type\": \"" + type->second + "\""), std::string::npos)
            << name << ": " << headers;
        EXPECT_NE(headers.find("\"cache-control\": \"max-age=60\""), std::string::npos)
            << name << ": " << headers;
    }
}

TEST_P(S3Publish, WrongKeyIsRefusedAndAProfileReachesThePath)
{
    setenv("AWS_SECRET_ACCESS_KEY", "wrong", 1);
    ASSERT_EQ(Publish(), kExitFailed);
    EXPECT_NE(
        m_err.str().find("the access key was refused (HTTP 403 SignatureDoesNotMatch"), std::string::npos)
        << m_err.str();
    EXPECT_TRUE(RemoteFiles().empty());

    // The profile of the credentials file, not the environment.
    Write("home/.aws/credentials",
        std::string("[default]\naws_access_key_id = nobody\naws_secret_access_key = x\n[publish]\n")
            + "aws_access_key_id = " + CS3Server::kKeyId + "\naws_secret_access_key = " + CS3Server::kSecret
            + "\n");
    m_out.str("");
    m_err.str("");
    ASSERT_EQ(RunCli({ "publish", "site.pwl", "--to", m_pS3->Url("www/", true) + "&profile=publish" }, m_out,
                  m_err),
        kExitOk)
        << m_err.str();
    EXPECT_EQ(RemoteSite(), LocalSite());
    EXPECT_NE(m_err.str().find("warning: plain http"), std::string::npos) << m_err.str();
}

INSTANTIATE_TEST_SUITE_P(S3, S3Publish, ::testing::Values(ETarget::S3), TargetName);

// An SSH server that takes a password and no key (sshd checks passwords only
// against the system's accounts): tests/support/sftp-password-server.py.
using SftpPassword = PublishFixture;

TEST_P(SftpPassword, PasswordOrKeyboardInteractiveLogsIn)
{
    constexpr const char* kPython = "/usr/bin/python3";
    if (std::system((std::string(kPython) + " -c 'import asyncssh' 2>/dev/null").c_str()) != 0
        || std::system("command -v ssh-keygen >/dev/null") != 0)
        GTEST_SKIP() << "python3-asyncssh is not installed (scripts/install-deps test installs it)";
    const std::string hostKey = m_folder.File("host_key");
    ASSERT_EQ(std::system(("ssh-keygen -q -t ed25519 -N '' -f " + hostKey).c_str()), 0);
    ASSERT_EQ(
        std::system(("ssh-keygen -l -E sha256 -f " + hostKey + ".pub > " + hostKey + ".fp").c_str()), 0);
    std::istringstream words(ReadWholeFile(hostKey + ".fp"));
    std::string bits;
    std::string fingerprint;
    words >> bits >> fingerprint;
    std::filesystem::create_directories(m_folder.File("remote"));

    for (const char* method : { "password", "keyboard-interactive" }) {
        SCOPED_TRACE(method);
        CServerProcess server(m_folder.File(std::string("sftpd-") + method));
        ASSERT_TRUE(server.Start({ kPython, PAGEWELL_SOURCE_DIR "/tests/support/sftp-password-server.py",
            std::to_string(server.GetPort()), hostKey, m_folder.File("remote"), "tester", "right", method }))
            << server.GetLog();
        const std::string url = "sftp://tester@127.0.0.1:" + std::to_string(server.GetPort()) + "/www/";
        const std::vector<std::string> args
            = { "publish", "site.pwl", "--to", url, "--accept-host-key", fingerprint };
        setenv("PAGEWELL_PASSWORD", "wrong", 1);
        m_err.str("");
        ASSERT_EQ(RunCli(args, m_out, m_err), kExitFailed);
        EXPECT_NE(m_err.str().find("authentication failed for tester@127.0.0.1: the password was refused"),
            std::string::npos)
            << m_err.str();
        setenv("PAGEWELL_PASSWORD", "right", 1);
        m_err.str("");
        ASSERT_EQ(RunCli(args, m_out, m_err), kExitOk) << m_err.str() << server.GetLog();
        EXPECT_EQ(RemoteSite(), LocalSite());
        std::filesystem::remove_all(m_strRemote);
    }
}

INSTANTIATE_TEST_SUITE_P(Sftp, SftpPassword, ::testing::Values(ETarget::Folder), TargetName);

} // namespace
