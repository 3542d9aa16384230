#pragma once

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// One entry of a remote folder's listing.
struct CRemoteEntry {
    enum class EKind { File, Folder, Link, Other };
    std::string strName;
    EKind kind = EKind::File;
};

// The folder a site is published into, on whatever holds it (a mounted
// folder, an SSH server, later FTP or object storage). Names are plain file
// names of that folder, never paths: the publisher checks them before they
// get here. Every call answers false with a message that names the host and
// the path; a missing file is not an error for Remove.
class IRemoteFolder {
public:
    virtual ~IRemoteFolder() = default;

    // Reaches the folder (making it when missing). Asks nothing here: the
    // questions are asked while the first connection is opened.
    virtual bool Open(std::string& error) = 0;
    virtual bool List(std::vector<CRemoteEntry>& entries, std::string& error) = 0;
    // The bytes of a file that exists (listed).
    virtual bool Read(const std::string& name, std::string& bytes, std::string& error) = 0;
    // Sends a local file under a temporary name of the folder and renames it
    // over name when complete: a reader gets the old file or the new one.
    // Stops early (false, the temporary file removed) when cancel is set.
    virtual bool Put(const std::string& localPath, const std::string& name, const std::atomic<bool>& cancel,
        std::string& error)
        = 0;
    // The same for bytes held in memory (the publisher's own record).
    virtual bool PutBytes(const std::string& bytes, const std::string& name, std::string& error) = 0;
    virtual bool Remove(const std::string& name, std::string& error) = 0;
    // Another connection to the same folder, for a parallel transfer; it
    // reuses what the first one learnt (accepted key, password).
    virtual std::unique_ptr<IRemoteFolder> Clone() const = 0;

    // The prefix of the temporary names: files of an interrupted transfer
    // are cleared away by the next publish.
    static constexpr const char* kTempPrefix = ".pagewell-part-";
};

// A temporary name not yet used by this process.
std::string MakeRemoteTempName();

// Bytes held in memory, read as an upload reads a file: into a buffer, 0
// at the end.
class CMemoryReader {
public:
    explicit CMemoryReader(const std::string& bytes)
        : m_bytes(bytes)
    { }
    long operator()(char* p, size_t size);
    void Rewind() { m_nOffset = 0; }

private:
    const std::string& m_bytes;
    size_t m_nOffset = 0;
};

// What object storage needs to know of the site beyond the files.
struct CObjectOptions {
    // The charset of the pages, for their Content-Type.
    std::string strPageCharset = "windows-1252";
    // The Cache-Control every file is served with; empty: none.
    std::string strCacheControl;
};

class CSiteSettings;
// The options of the site settings: the pages' charset, the Cache-Control.
CObjectOptions ObjectOptionsOf(const CSiteSettings& settings);

class CPublishTarget;
class IPublishPrompt;
// The folder of target: a local folder, an SSH or FTP server, or a bucket.
std::unique_ptr<IRemoteFolder> CreateRemoteFolder(
    const CPublishTarget& target, IPublishPrompt& prompt, const CObjectOptions& options = {});
