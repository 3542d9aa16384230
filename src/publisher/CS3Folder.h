#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "publisher/CPublishTarget.h"
#include "publisher/IPublishPrompt.h"
#include "publisher/IRemoteFolder.h"

class CCurlSession;

// A prefix of a bucket of S3-compatible object storage, through libcurl,
// which signs every request (AWS Signature Version 4). A PUT replaces an
// object in one step, so files go straight to their names; each carries
// its Content-Type, the Cache-Control of the site settings and the SHA-256
// of its bytes, which the server checks. The access key comes from
// CAccessKeys, or from the prompt (the window's keyring or the user).
class CS3Folder : public IRemoteFolder {
public:
    CS3Folder(const CPublishTarget& target, IPublishPrompt& prompt, CObjectOptions options,
        int nTimeoutSeconds = 30);
    ~CS3Folder() override;

    bool Open(std::string& error) override;
    bool List(std::vector<CRemoteEntry>& entries, std::string& error) override;
    bool Read(const std::string& name, std::string& bytes, std::string& error) override;
    bool Put(const std::string& localPath, const std::string& name, const std::atomic<bool>& cancel,
        std::string& error) override;
    bool PutBytes(const std::string& bytes, const std::string& name, std::string& error) override;
    bool Remove(const std::string& name, std::string& error) override;
    std::unique_ptr<IRemoteFolder> Clone() const override;

    // One page of a ListObjectsV2 answer: the names under prefix (objects
    // as files, common prefixes as folders) and the token of the next page
    // (empty at the end). False for an answer that is not a listing.
    static bool ParseListing(const std::string& xml, const std::string& prefix,
        std::vector<CRemoteEntry>& entries, std::string& nextToken);

private:
    struct CShared {
        CPublishTarget target;
        IPublishPrompt* pPrompt = nullptr;
        CObjectOptions options;
        int nTimeoutSeconds = 30;
        std::mutex mutex;
        std::optional<CAccessKey> key;
        bool bKeyFromPrompt = false;
    };
    explicit CS3Folder(std::shared_ptr<CShared> pShared);

    // The address of the object name (empty: the bucket itself).
    std::string UrlOf(const std::string& name, const std::string& query = {}) const;
    std::string KeyOf(const std::string& name) const;
    // Starts a request: the address, the signing and the account, and the
    // SHA-256 of the body (signed with it: the server refuses other bytes).
    void Begin(const std::string& url, const std::string& bodySha256 = kEmptySha256);
    static constexpr const char* kEmptySha256
        = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
    // Runs it; false with a message naming what and the object unless the
    // server answered with a status below 300 (or one of alsoFine).
    bool Finish(const std::string& what, const std::string& name, std::string& error, long alsoFine = 0);
    bool FindKey(bool bRetry, std::string& error);
    bool Upload(const std::function<long(char*, size_t)>& read, uint64_t nSize, const std::string& sha256,
        const std::string& name, const std::atomic<bool>& cancel, std::string& error);

    std::shared_ptr<CShared> m_pShared;
    std::unique_ptr<CCurlSession> m_pSession;
};
