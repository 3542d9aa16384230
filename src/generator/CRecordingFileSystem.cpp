#include "generator/CRecordingFileSystem.h"

#include <iterator>

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
    if (m_index.contains(path))
        return;
    auto& [noted, what] = m_paths.emplace_back(path, CNoted());
    m_index.emplace(noted, m_paths.size() - 1);
    if (bOutside)
        what.stampThen = CFileStamp::Of(path);
}

void CRecordingFileSystem::NoteCommitted(const std::string& path, const CFileStamp& stamp)
{
    const std::lock_guard lock(m_mutex);
    if (const auto it = m_index.find(path); it != m_index.end())
        m_paths[it->second].second.committed = stamp;
}

std::vector<std::pair<std::string, CRecordingFileSystem::CNoted>> CRecordingFileSystem::TakePaths()
{
    const std::lock_guard lock(m_mutex);
    // The views of the index go with the paths they view.
    m_index.clear();
    std::vector<std::pair<std::string, CNoted>> paths(
        std::make_move_iterator(m_paths.begin()), std::make_move_iterator(m_paths.end()));
    m_paths.clear();
    return paths;
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
