#include "support/CS3Server.h"

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "publisher/CSha256.h"
#include "support/TestFiles.h"

namespace {

constexpr const char* kNode = "/usr/bin/node";
constexpr std::string_view kObjectSuffix = "._S3rver_object";

} // namespace

CS3Server::CS3Server(const std::string& folder)
    : m_process(folder)
    , m_strStore(m_process.GetFolder() + "/store")
{
    std::filesystem::create_directories(m_strStore);
}

bool CS3Server::IsAvailable()
{
    return access(kNode, X_OK) == 0
        && std::filesystem::exists(PAGEWELL_TEST_SERVERS_DIR "/s3rver/package.json")
        && std::filesystem::exists(PAGEWELL_TEST_SERVERS_DIR "/@smithy/signature-v4/package.json");
}

bool CS3Server::Start()
{
    // s3rver makes its continuation tokens with DES, which OpenSSL 3 keeps
    // among its legacy ciphers.
    return m_process.Start({ kNode, "--openssl-legacy-provider",
        PAGEWELL_SOURCE_DIR "/tests/support/s3-server.js", PAGEWELL_TEST_SERVERS_DIR,
        std::to_string(m_process.GetPort()), m_strStore, kBucket, kKeyId, kSecret });
}

std::string CS3Server::Url(const std::string& prefix, bool bPathStyle) const
{
    const std::string port = std::to_string(m_process.GetPort());
    return std::string("s3://") + kBucket + "/" + prefix + "?endpoint=http://"
        + (bPathStyle ? "127.0.0.1:" + port + "&style=path" : "s3.localhost:" + port) + "&region=" + kRegion;
}

std::map<std::string, std::string> CS3Server::Objects(const std::string& prefix) const
{
    std::map<std::string, std::string> objects;
    std::error_code error;
    for (const auto& entry :
        std::filesystem::directory_iterator(m_strStore + "/" + kBucket + "/" + prefix, error)) {
        const std::string name = entry.path().filename();
        if (name.ends_with(kObjectSuffix))
            objects[name.substr(0, name.size() - kObjectSuffix.size())] = ReadWholeFile(entry.path());
    }
    return objects;
}

std::string CS3Server::BytesPath(const std::string& key) const
{
    return m_strStore + "/" + kBucket + "/" + key + std::string(kObjectSuffix);
}

std::string CS3Server::HeadersOf(const std::string& key) const
{
    return ReadWholeFile(m_strStore + "/" + kBucket + "/" + key + "._S3rver_metadata.json");
}

bool CS3Server::PutObject(const std::string& key, const std::string& bytes) const
{
    const std::string file = m_process.GetFolder() + "/upload";
    WriteWholeFile(file, bytes);
    const std::string command = std::string("curl -s -f -o /dev/null --aws-sigv4 aws:amz:") + kRegion
        + ":s3 --user " + kKeyId + ":" + kSecret + " -H 'x-amz-content-sha256: " + CSha256::HexOf(bytes)
        + "' -T " + file + " 'http://127.0.0.1:" + std::to_string(m_process.GetPort()) + "/" + kBucket + "/"
        + key + "'";
    return std::system(command.c_str()) == 0;
}
