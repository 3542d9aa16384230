#pragma once

#include "publisher/IRemoteFolder.h"

// A folder of this machine as a publishing target (file:///path/): a mounted
// share or a folder another program synchronises. Links in it are never
// followed: a new file replaces a link by rename, a removal removes the link.
class CLocalFolder : public IRemoteFolder {
public:
    explicit CLocalFolder(std::string folder)
        : m_strFolder(std::move(folder))
    { }

    bool Open(std::string& error) override;
    bool List(std::vector<CRemoteEntry>& entries, std::string& error) override;
    bool Read(const std::string& name, std::string& bytes, std::string& error) override;
    bool Put(const std::string& localPath, const std::string& name, const std::atomic<bool>& cancel,
        std::string& error) override;
    bool PutBytes(const std::string& bytes, const std::string& name, std::string& error) override;
    bool Remove(const std::string& name, std::string& error) override;
    std::unique_ptr<IRemoteFolder> Clone() const override
    {
        return std::make_unique<CLocalFolder>(m_strFolder);
    }

private:
    std::string PathOf(const std::string& name) const { return m_strFolder + "/" + name; }
    std::string Failure(const std::string& what, const std::string& name, int error) const;
    // Writes the temporary file from a source (a descriptor, or bytes when fd < 0).
    bool WriteTemp(int sourceFd, const std::string& bytes, const std::string& name,
        const std::atomic<bool>& cancel, std::string& error);

    std::string m_strFolder;
};
