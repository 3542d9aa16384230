#include <fstream>

#include "PublishFixture.h"

namespace {

std::string TargetName(const ::testing::TestParamInfo<ETarget>& info)
{
    return info.param == ETarget::Ftps ? "Ftps" : "S3";
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

} // namespace
