#include "publisher/CPublishPlan.h"

#include <unordered_map>

uint64_t CPublishPlan::BytesOf(const std::vector<CLocalFile>& files)
{
    uint64_t bytes = 0;
    for (const CLocalFile& file : files)
        bytes += file.nSize;
    return bytes;
}

bool CPublishPlan::Make(const std::vector<CLocalFile>& local, const CPublishedManifest& remote,
    const std::vector<CRemoteEntry>& listing, bool bOverwriteForeign, CPublishPlan& plan, std::string& error)
{
    plan = CPublishPlan();
    plan.m_record = remote;
    std::unordered_map<std::string, CRemoteEntry::EKind> there;
    for (const CRemoteEntry& entry : listing) {
        there.emplace(entry.strName, entry.kind);
        if (entry.kind == CRemoteEntry::EKind::File && entry.strName.starts_with(IRemoteFolder::kTempPrefix))
            plan.m_leftovers.push_back(entry.strName);
    }
    // A record that makes us replace or remove a link or a folder would reach
    // out of the folder, or lose the user's files.
    for (const auto& [name, entry] : remote.m_entries) {
        const auto it = there.find(name);
        if (it != there.end() && it->second != CRemoteEntry::EKind::File) {
            error = std::string(CPublishedManifest::kFileName) + " names '" + name
                + "', which is not a file on the server (a link or a folder); nothing was changed";
            return false;
        }
    }
    std::unordered_map<std::string, const CLocalFile*> site;
    for (const CLocalFile& file : local) {
        site.emplace(file.strName, &file);
        const auto ours = remote.m_entries.find(file.strName);
        const auto it = there.find(file.strName);
        if (it == there.end())
            plan.m_send.push_back(file);
        else if (ours == remote.m_entries.end()) {
            if (bOverwriteForeign && it->second == CRemoteEntry::EKind::File)
                plan.m_replace.push_back(file);
            else
                plan.m_clashes.push_back(file.strName);
        } else if (ours->second.IsPending() || ours->second.strHash != file.strHash
            || ours->second.nSize != file.nSize)
            plan.m_replace.push_back(file);
    }
    for (const auto& [name, entry] : remote.m_entries) {
        if (site.contains(name))
            continue;
        if (there.contains(name))
            plan.m_remove.push_back(name);
        else {
            // Gone already: the record forgets it.
            plan.m_record.m_entries.erase(name);
            plan.m_bRecordChanged = true;
        }
    }
    return true;
}
