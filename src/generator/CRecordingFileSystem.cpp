#include "generator/CRecordingFileSystem.h"

#include <algorithm>

#include "platform/CAtomicFile.h"
#include "platform/CFile.h"

void CRecordingFileSystem::StartRecording(const std::string& destination)
{
    m_strDestination = destination;
    m_bRecording = true;
}

void CRecordingFileSystem::Note(const std::string& path)
{
    if (!m_bRecording)
        return;
    const bool bOutside = path != m_strDestination
        && !(path.starts_with(m_strDestination) && path.size() > m_strDestination.size()
            && (path[m_strDestination.size()] == '/' || m_strDestination.ends_with('/')));
    const std::lock_guard lock(m_mutex);
    const auto [it, bNew] = m_paths.try_emplace(path);
    if (bNew && bOutside)
        it->second.stampThen = CFileStamp::Of(path);
}

void CRecordingFileSystem::NoteCommitted(const std::string& path, const CFileStamp& stamp)
{
    const std::lock_guard lock(m_mutex);
    if (const auto it = m_paths.find(path); it != m_paths.end())
        it->second.committed = stamp;
}

std::vector<std::pair<std::string, CRecordingFileSystem::CNoted>> CRecordingFileSystem::TakePaths()
{
    std::unordered_map<std::string, CNoted> paths;
    {
        const std::lock_guard lock(m_mutex);
        paths.swap(m_paths);
    }
    std::vector<std::pair<std::string, CNoted>> sorted;
    sorted.reserve(paths.size());
    while (!paths.empty()) {
        auto node = paths.extract(paths.begin());
        sorted.emplace_back(std::move(node.key()), node.mapped());
    }
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return sorted;
}

EFileError CRecordingFileSystem::ReadFile(const std::string& path, std::string& contents)
{
    Note(path);
    return m_files.ReadFile(path, contents);
}

std::unique_ptr<CAtomicFile> CRecordingFileSystem::CreateAtomic(const std::string& path, EFileError& error)
{
    Note(path);
    return m_files.CreateAtomic(path, error);
}

std::unique_ptr<CAtomicFile> CRecordingFileSystem::CreateReplacement(
    const std::string& path, EFileError& error)
{
    Note(path);
    return m_files.CreateReplacement(path, error);
}

void CRecordingFileSystem::RemoveLeftovers(const std::string& folder)
{
    Note(folder);
    m_files.RemoveLeftovers(folder);
}

std::unique_ptr<CFile> CRecordingFileSystem::OpenForRead(const std::string& path, EFileError& error)
{
    Note(path);
    return m_files.OpenForRead(path, error);
}

std::unique_ptr<CFile> CRecordingFileSystem::CreateForWrite(const std::string& path, EFileError& error)
{
    Note(path);
    return m_files.CreateForWrite(path, error);
}

std::unique_ptr<CFile> CRecordingFileSystem::ReplaceForWrite(const std::string& path, EFileError& error)
{
    Note(path);
    return m_files.ReplaceForWrite(path, error);
}

EFileError CRecordingFileSystem::RemoveFile(const std::string& path)
{
    Note(path);
    return m_files.RemoveFile(path);
}

bool CRecordingFileSystem::Exists(const std::string& path)
{
    Note(path);
    return m_files.Exists(path);
}

bool CRecordingFileSystem::IsDirectory(const std::string& path)
{
    Note(path);
    return m_files.IsDirectory(path);
}

bool CRecordingFileSystem::IsRegularFile(const std::string& path)
{
    Note(path);
    return m_files.IsRegularFile(path);
}

bool CRecordingFileSystem::HasContent(const std::string& path, std::string_view bytes)
{
    Note(path);
    return m_files.HasContent(path, bytes);
}

bool CRecordingFileSystem::HaveSameContent(const std::string& path, const std::string& otherPath)
{
    Note(path);
    Note(otherPath);
    return m_files.HaveSameContent(path, otherPath);
}

bool CRecordingFileSystem::CanCreateIn(const std::string& folder)
{
    Note(folder);
    return m_files.CanCreateIn(folder);
}

bool CRecordingFileSystem::ListFolder(const std::string& path, std::vector<std::string>& names)
{
    Note(path);
    return m_files.ListFolder(path, names);
}
