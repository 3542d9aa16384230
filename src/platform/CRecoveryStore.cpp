#include "platform/CRecoveryStore.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sstream>

#include "platform/CAtomicFile.h"
#include "platform/CFileStamp.h"
#include "platform/CFileSystem.h"
#include "platform/CHash128.h"
#include "platform/CPlatformPaths.h"

namespace {

constexpr std::string_view kMagic = "pagewell-recovery 1\n";
constexpr std::string_view kSuffix = ".recovery";

bool IsRunning(int nPid)
{
    // EPERM: a process of another user, which is not one of ours.
    return nPid > 0 && (kill(nPid, 0) == 0 || errno == EPERM);
}

} // namespace

CRecoveryStore::CRecoveryStore(std::string folder)
    : m_strFolder(std::move(folder))
{ }

std::string CRecoveryStore::DefaultFolder()
{
    return CPlatformPaths::StateFolder() + "/recovery";
}

std::string CRecoveryStore::KeyForProject(const std::string& path)
{
    CHash128 hash;
    hash.AddString(path);
    return "project-" + hash.GetHex();
}

std::string CRecoveryStore::KeyForUntitled(int nPid, uint64_t nNumber)
{
    return "untitled-" + std::to_string(nPid) + "-" + std::to_string(nNumber);
}

std::string CRecoveryStore::PathOf(const std::string& key) const
{
    return m_strFolder + "/" + key + std::string(kSuffix);
}

EFileError CRecoveryStore::Write(const CEntry& entry, const std::string& bytes) const
{
    std::error_code ignored;
    std::filesystem::create_directories(m_strFolder, ignored);
    std::string header(kMagic);
    // A path holds no line end that matters here: one would end the value,
    // and the entry would name another file, never another key's.
    header += "project=" + entry.strProject + "\n";
    header += std::string("format=") + (entry.bJson ? "json" : "archive") + "\n";
    header += "pid=" + std::to_string(entry.nPid) + "\n";
    header += "time=" + std::to_string(entry.tWrittenNs) + "\n\n";
    EFileError error = EFileError::None;
    // Flushed to the disk before it replaces the last one, so that a power
    // cut leaves one whole recovery; this runs off the window's thread.
    auto pFile = CFileSystem::Real().CreateAtomic(PathOf(entry.strKey), error);
    if (pFile == nullptr)
        return error;
    pFile->GetFile().Write(header);
    pFile->GetFile().Write(bytes);
    return pFile->Commit();
}

bool CRecoveryStore::Read(const std::string& key, CEntry& entry, std::string* pBytes) const
{
    std::string contents;
    if (CFileSystem::Real().ReadFile(PathOf(key), contents) != EFileError::None)
        return false;
    if (contents.rfind(kMagic, 0) != 0)
        return false;
    const size_t end = contents.find("\n\n", kMagic.size() - 1);
    if (end == std::string::npos)
        return false;
    entry = CEntry {};
    entry.strKey = key;
    std::istringstream lines(contents.substr(kMagic.size(), end + 1 - kMagic.size()));
    for (std::string line; std::getline(lines, line);) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string name = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        try {
            if (name == "project")
                entry.strProject = value;
            else if (name == "format")
                entry.bJson = value == "json";
            else if (name == "pid")
                entry.nPid = std::stoi(value);
            else if (name == "time")
                entry.tWrittenNs = std::stoll(value);
        } catch (const std::exception&) {
            return false;
        }
    }
    if (pBytes != nullptr)
        *pBytes = contents.substr(end + 2);
    return true;
}

void CRecoveryStore::Remove(const std::string& key) const
{
    CFileSystem::Real().RemoveFile(PathOf(key));
}

bool CRecoveryStore::IsOffer(const CEntry& entry, int nOwnPid) const
{
    if (entry.nPid != nOwnPid && IsRunning(entry.nPid))
        return false;
    if (entry.strProject.empty())
        return true;
    const CFileStamp project = CFileStamp::Of(entry.strProject);
    return !project.bExists || project.nModified < entry.tWrittenNs;
}

std::vector<CRecoveryStore::CEntry> CRecoveryStore::ListOffers(int nOwnPid) const
{
    std::vector<CEntry> offers;
    std::vector<std::string> names;
    if (!CFileSystem::Real().ListFolder(m_strFolder, names))
        return offers;
    for (const std::string& name : names) {
        if (name.size() <= kSuffix.size()
            || name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
            continue;
        CEntry entry;
        if (Read(name.substr(0, name.size() - kSuffix.size()), entry) && IsOffer(entry, nOwnPid))
            offers.push_back(entry);
    }
    std::sort(offers.begin(), offers.end(),
        [](const CEntry& a, const CEntry& b) { return a.tWrittenNs > b.tWrittenNs; });
    return offers;
}

std::optional<CRecoveryStore::CEntry> CRecoveryStore::FindOfferFor(
    const std::string& project, int nOwnPid) const
{
    CEntry entry;
    if (Read(KeyForProject(project), entry) && entry.strProject == project && IsOffer(entry, nOwnPid))
        return entry;
    return std::nullopt;
}
