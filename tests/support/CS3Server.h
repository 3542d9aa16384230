#pragma once

#include <map>
#include <string>

#include "support/CServerProcess.h"

// An S3-compatible server for a test (s3rver, from npm, behind a check of
// every request's signature: tests/support/s3-server.js) with one bucket
// and one access key, its objects kept in a folder of the test.
class CS3Server {
public:
    static constexpr const char* kBucket = "site";
    static constexpr const char* kKeyId = "PAGEWELLTESTKEY";
    static constexpr const char* kSecret = "test-secret-key";
    static constexpr const char* kRegion = "eu-test-1";

    explicit CS3Server(const std::string& folder);

    // Whether Node.js and the server's modules are installed (by
    // scripts/install-deps test).
    static bool IsAvailable();
    bool Start();
    void Kill() { m_process.Kill(); }

    // s3://site/prefix/ with the endpoint: by host name (the bucket in it)
    // or, with bPathStyle, by address (the bucket in the path).
    std::string Url(const std::string& prefix, bool bPathStyle = false) const;
    // The objects right under prefix ("www/"), by name, with their bytes.
    std::map<std::string, std::string> Objects(const std::string& prefix) const;
    // Where the server keeps the bytes and the headers of the object key.
    std::string BytesPath(const std::string& key) const;
    std::string HeadersOf(const std::string& key) const;
    // Puts an object as another program would (curl, signing with the key).
    bool PutObject(const std::string& key, const std::string& bytes) const;
    std::string GetLog() const { return m_process.GetLog(); }

private:
    CServerProcess m_process;
    std::string m_strStore;
};
