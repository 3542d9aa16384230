#include "generator/CRunRecord.h"

#include <algorithm>
#include <filesystem>

#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CArchive.h"
#include "platform/CAtomicFile.h"
#include "platform/CFile.h"
#include "platform/CFileSystem.h"
#include "platform/CHash128.h"

namespace {

constexpr const char* kMagic = "Pagewell run record 2";

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

void CRunRecord::Prune(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    std::vector<std::pair<fs::file_time_type, fs::path>> records;
    for (const auto& entry : fs::directory_iterator(folder + "/runs", error)) {
        const auto time = entry.last_write_time(error);
        if (!error)
            records.emplace_back(time, entry.path());
    }
    if (records.size() <= kMaxRecords)
        return;
    std::sort(records.begin(), records.end());
    for (size_t i = 0; i + kMaxRecords < records.size(); ++i)
        fs::remove(records[i].second, error);
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

bool CRunRecord::Load(const std::string& path)
{
    std::string bytes;
    return CFileSystem::Real().ReadFile(path, bytes) == EFileError::None && FromBytes(bytes);
}

void CRunRecord::Save(const std::string& folder, const std::string& path) const
{
    std::error_code error;
    const std::string runs = folder + "/runs";
    std::filesystem::create_directories(runs, error);
    std::filesystem::permissions(runs, std::filesystem::perms::owner_all, error);
    EFileError fileError = EFileError::None;
    const auto pFile = CFileSystem::Real().CreateReplacement(path, fileError);
    if (pFile != nullptr) {
        CArchive ar(pFile->GetFile(), CArchive::EMode::Store);
        Store(ar);
        if (ar.Flush())
            pFile->Commit();
    }
    Prune(folder);
}

void CRunRecord::Store(CArchive& ar) const
{
    ar << CString(kMagic) << CString(strKey);
    ar << static_cast<uint32_t>(static_cast<uint64_t>(tValidUntil))
       << static_cast<uint32_t>(static_cast<uint64_t>(tValidUntil) >> 32);
    ar << static_cast<uint32_t>(files.size());
    for (const auto& [path, stamp] : files) {
        ar << CString(path);
        CFileStamp copy = stamp;
        copy.Serialize(ar);
    }
    ar << static_cast<uint32_t>(messages.size());
    for (const CMessage& message : messages)
        ar << message.strText << message.strCaption << static_cast<uint32_t>(message.icon);
    ar << strLog;
    ar << static_cast<uint32_t>(produced.size());
    for (const std::string& name : produced)
        ar << CString(name);
}

bool CRunRecord::FromBytes(std::string_view bytes)
{
    try {
        CArchive ar(bytes);
        CString magic;
        CString key;
        ar >> magic;
        if (magic != kMagic)
            return false;
        ar >> key;
        strKey = key;
        uint32_t low = 0;
        uint32_t high = 0;
        ar >> low >> high;
        tValidUntil = static_cast<int64_t>(static_cast<uint64_t>(high) << 32 | low);
        uint32_t count = 0;
        ar >> count;
        files.clear();
        for (uint32_t i = 0; i < count; ++i) {
            CString path;
            ar >> path;
            CFileStamp stamp;
            stamp.Serialize(ar);
            files.emplace_back(path, stamp);
        }
        ar >> count;
        messages.clear();
        for (uint32_t i = 0; i < count; ++i) {
            CMessage message;
            uint32_t icon = 0;
            ar >> message.strText >> message.strCaption >> icon;
            if (icon > static_cast<uint32_t>(EMessageIcon::Stop))
                return false;
            message.icon = static_cast<EMessageIcon>(icon);
            messages.push_back(std::move(message));
        }
        ar >> strLog;
        ar >> count;
        produced.clear();
        for (uint32_t i = 0; i < count; ++i) {
            CString name;
            ar >> name;
            produced.emplace_back(name);
        }
        return ar.IsAtEnd();
    } catch (const CArchiveException&) {
        return false;
    }
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
