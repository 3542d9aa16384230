#include "generator/CRunRecord.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "generator/CCompactText.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CAtomicFile.h"
#include "platform/CFile.h"
#include "platform/CFileSystem.h"
#include "platform/CHash128.h"

namespace {

constexpr std::string_view kMagic = "Pagewell run record 3\n";
constexpr size_t kBaseBytes = size_t { 64 } << 20;
constexpr size_t kBytesPerObject = 1024;
// No path the system takes is longer.
constexpr size_t kMaxPathBytes = 4096;

// Whether a file or folder is the user's and no one else may write to it.
bool IsUsersAlone(const struct stat& info)
{
    return info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool IsUsersFolder(const std::string& folder)
{
    struct stat info { };
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && IsUsersAlone(info);
}

std::string GetFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// A stamp as the difference from the one before (the files of one folder
// share their device, and their inodes and times lie close together).
void AppendStamp(std::string& out, const CFileStamp& stamp, const CFileStamp& before)
{
    CCompactText::AppendNumber(out, uint64_t { stamp.nMode } << 1 | (stamp.bExists ? 1 : 0));
    CCompactText::AppendNumber(out, stamp.nSize);
    CCompactText::AppendSigned(out, static_cast<int64_t>(stamp.nDevice - before.nDevice));
    CCompactText::AppendSigned(out, static_cast<int64_t>(stamp.nInode - before.nInode));
    CCompactText::AppendSigned(out,
        static_cast<int64_t>(
            static_cast<uint64_t>(stamp.nModified) - static_cast<uint64_t>(before.nModified)));
    CCompactText::AppendSigned(out,
        static_cast<int64_t>(static_cast<uint64_t>(stamp.nChanged) - static_cast<uint64_t>(stamp.nModified)));
}

bool ReadStamp(std::string_view& in, CFileStamp& stamp, const CFileStamp& before)
{
    uint64_t mode = 0;
    int64_t device = 0;
    int64_t inode = 0;
    int64_t modified = 0;
    int64_t changed = 0;
    if (!CCompactText::ReadNumber(in, mode) || mode > UINT32_MAX * uint64_t { 2 } + 1
        || !CCompactText::ReadNumber(in, stamp.nSize) || !CCompactText::ReadSigned(in, device)
        || !CCompactText::ReadSigned(in, inode) || !CCompactText::ReadSigned(in, modified)
        || !CCompactText::ReadSigned(in, changed))
        return false;
    stamp.bExists = (mode & 1) != 0;
    stamp.nMode = static_cast<uint32_t>(mode >> 1);
    stamp.nDevice = before.nDevice + static_cast<uint64_t>(device);
    stamp.nInode = before.nInode + static_cast<uint64_t>(inode);
    stamp.nModified
        = static_cast<int64_t>(static_cast<uint64_t>(before.nModified) + static_cast<uint64_t>(modified));
    stamp.nChanged
        = static_cast<int64_t>(static_cast<uint64_t>(stamp.nModified) + static_cast<uint64_t>(changed));
    return true;
}

void AppendText(std::string& out, std::string_view text)
{
    CCompactText::AppendNumber(out, text.size());
    out.append(text);
}

bool ReadText(std::string_view& in, std::string& text, size_t& nBudget)
{
    uint64_t size = 0;
    if (!CCompactText::ReadNumber(in, size) || size > in.size() || size > nBudget)
        return false;
    text.assign(in.substr(0, size));
    in.remove_prefix(size);
    nBudget -= size;
    return true;
}

std::string GetCurrentFolder()
{
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

} // namespace

std::string CRunRecord::GetPath(const std::string& folder, const std::string& destination)
{
    CHash128 hash;
    hash.AddString(GetCurrentFolder());
    hash.AddString(destination);
    return folder + "/runs/" + hash.GetHex();
}

size_t CRunRecord::GetMaxBytes(size_t nObjects)
{
    return nObjects > (SIZE_MAX - kBaseBytes) / kBytesPerObject ? SIZE_MAX
                                                                : kBaseBytes + nObjects * kBytesPerObject;
}

void CRunRecord::Prune(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    struct CFound {
        fs::file_time_type time;
        uint64_t nSize = 0;
        fs::path path;
    };
    std::vector<CFound> records;
    for (const auto& entry : fs::directory_iterator(folder + "/runs", error)) {
        const auto time = entry.last_write_time(error);
        const auto size = error ? 0 : entry.file_size(error);
        if (!error)
            records.push_back({ time, size, entry.path() });
    }
    std::sort(
        records.begin(), records.end(), [](const CFound& a, const CFound& b) { return a.time > b.time; });
    uint64_t total = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        total += records[i].nSize;
        if (i > 0 && (i >= kMaxRecords || total > kMaxTotalBytes))
            fs::remove(records[i].path, error);
    }
}

int64_t CRunRecord::GetNextExpiry(const CSiteTree& tree, int64_t now, bool bConstructionToo)
{
    int64_t next = std::numeric_limits<int64_t>::max();
    for (HTREEITEM hItem = tree.GetRootItem(); hItem != nullptr; hItem = CSiteTree::GetNextPreOrder(hItem)) {
        const CNode* pNode = hItem->GetNode();
        if (pNode == nullptr
            || (pNode->m_info.m_bNew == 0 && pNode->m_info.m_bUpdated == 0
                && (!bConstructionToo || pNode->m_info.m_bConstruction == 0)))
            continue;
        const auto expiry = pNode->GetBannerExpiry();
        if (expiry && *expiry >= now)
            next = std::min(next, *expiry);
    }
    return next;
}

CRunRecord::ELoad CRunRecord::Load(const std::string& path, size_t nMaxBytes)
{
    const std::string folder = GetFolderOf(path);
    struct stat info { };
    if (::lstat(folder.c_str(), &info) != 0)
        return ELoad::None;
    if (!S_ISDIR(info.st_mode) || !IsUsersAlone(info))
        return ELoad::Refused;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? ELoad::None : ELoad::Refused;
    const CFile file(fd);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !IsUsersAlone(info))
        return ELoad::Refused;
    // Judged by its size before a byte of it is read.
    if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > nMaxBytes)
        return ELoad::None;
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got <= 0)
            return ELoad::None;
        done += static_cast<size_t>(got);
    }
    return FromBytes(bytes, nMaxBytes) ? ELoad::Loaded : ELoad::None;
}

void CRunRecord::Save(const std::string& folder, const std::string& path, size_t nMaxBytes) const
{
    std::error_code error;
    const std::string runs = folder + "/runs";
    std::filesystem::create_directories(runs, error);
    std::filesystem::permissions(runs, std::filesystem::perms::owner_all, error);
    if (!IsUsersFolder(runs))
        return;
    if (GetSize() > nMaxBytes) {
        std::filesystem::remove(path, error);
        return;
    }
    const std::string bytes = ToBytes();
    EFileError fileError = EFileError::None;
    const auto pFile = CFileSystem::Real().CreateReplacement(path, fileError);
    if (pFile != nullptr && ::fchmod(pFile->GetFile().GetDescriptor(), S_IRUSR | S_IWUSR) == 0
        && pFile->GetFile().Write(bytes))
        pFile->Commit();
    Prune(folder);
}

size_t CRunRecord::GetSize() const
{
    size_t size = strKey.size() + strLog.size();
    for (const auto& file : files)
        size += file.first.size() + sizeof(CFileStamp);
    for (const CMessage& message : messages)
        size += message.strText.size() + message.strCaption.size();
    for (const std::string& name : produced)
        size += name.size();
    return size;
}

std::string CRunRecord::ToBytes() const
{
    std::string out(kMagic);
    out.reserve(GetSize() / 4);
    AppendText(out, strKey);
    CCompactText::AppendSigned(out, tValidUntil);
    CCompactText::AppendNumber(out, files.size());
    CCompactText paths;
    CFileStamp before;
    for (const auto& [path, stamp] : files) {
        paths.Append(out, path);
        AppendStamp(out, stamp, before);
        before = stamp;
    }
    CCompactText::AppendNumber(out, messages.size());
    for (const CMessage& message : messages) {
        AppendText(out, message.strText);
        AppendText(out, message.strCaption);
        CCompactText::AppendNumber(out, static_cast<uint64_t>(message.icon));
    }
    CCompactText names;
    CCompactText::AppendNumber(out, produced.size());
    for (const std::string& name : produced)
        names.Append(out, name);
    // The log line by line, each with its line end.
    CCompactText lines;
    CCompactText::AppendNumber(out, strLog.size());
    for (size_t pos = 0; pos < strLog.size();) {
        const size_t end = std::min(strLog.find('\n', pos), strLog.size() - 1) + 1;
        lines.Append(out, std::string_view(strLog).substr(pos, end - pos));
        pos = end;
    }
    return out;
}

bool CRunRecord::FromBytes(std::string_view in, size_t nMaxBytes)
{
    if (!in.starts_with(kMagic))
        return false;
    in.remove_prefix(kMagic.size());
    size_t budget = nMaxBytes;
    uint64_t count = 0;
    if (!ReadText(in, strKey, budget) || !CCompactText::ReadSigned(in, tValidUntil)
        || !CCompactText::ReadNumber(in, count) || count > in.size())
        return false;
    files.clear();
    files.reserve(count);
    CCompactText paths;
    CFileStamp before;
    for (uint64_t i = 0; i < count; ++i) {
        std::string path;
        CFileStamp stamp;
        if (!paths.Read(in, path, std::min(budget, kMaxPathBytes)) || !ReadStamp(in, stamp, before)
            || budget < path.size() + sizeof stamp)
            return false;
        budget -= path.size() + sizeof stamp;
        files.emplace_back(std::move(path), stamp);
        before = stamp;
    }
    if (!CCompactText::ReadNumber(in, count) || count > in.size())
        return false;
    messages.clear();
    for (uint64_t i = 0; i < count; ++i) {
        CMessage message;
        uint64_t icon = 0;
        if (!ReadText(in, message.strText, budget) || !ReadText(in, message.strCaption, budget)
            || !CCompactText::ReadNumber(in, icon) || icon > static_cast<uint64_t>(EMessageIcon::Stop))
            return false;
        message.icon = static_cast<EMessageIcon>(icon);
        messages.push_back(std::move(message));
    }
    if (!CCompactText::ReadNumber(in, count) || count > in.size())
        return false;
    produced.clear();
    CCompactText names;
    for (uint64_t i = 0; i < count; ++i) {
        std::string name;
        if (!names.Read(in, name, std::min(budget, kMaxPathBytes)) || budget < name.size())
            return false;
        budget -= name.size();
        produced.push_back(std::move(name));
    }
    uint64_t logSize = 0;
    if (!CCompactText::ReadNumber(in, logSize) || logSize > budget)
        return false;
    strLog.clear();
    strLog.reserve(logSize);
    CCompactText lines;
    std::string line;
    while (strLog.size() < logSize) {
        if (!lines.Read(in, line, logSize - strLog.size()))
            return false;
        strLog += line;
    }
    return in.empty();
}

bool CRunRecord::FilesUnchanged(int64_t now) const
{
    if (now >= tValidUntil)
        return false;
    std::vector<std::string> paths;
    paths.reserve(files.size());
    for (const auto& file : files)
        paths.push_back(file.first);
    const std::vector<CFileStamp> stamps = CFileStamp::OfAll(paths);
    for (size_t i = 0; i < files.size(); ++i) {
        if (stamps[i] != files[i].second)
            return false;
    }
    return true;
}
