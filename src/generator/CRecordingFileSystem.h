#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/CFileStamp.h"
#include "platform/CFileSystem.h"

// A file system that passes every call on to another one and, while
// recording, notes each path it was asked about: the files and folders a
// generation run read, looked for, compared or wrote. A path outside the
// destination is stamped when first asked about, so that a change while the
// run goes on can be told. Safe to use from the run's thread and its page
// writing thread at once.
class CRecordingFileSystem : public CFileSystem {
public:
    explicit CRecordingFileSystem(CFileSystem& files)
        : m_files(files)
    { }

    // destination: the native destination folder, whose files the run writes.
    void StartRecording(const std::string& destination);
    // What is noted of a path: outside the destination, its stamp when first
    // asked about; a file the run committed, its stamp then.
    struct CNoted {
        std::optional<CFileStamp> stampThen;
        CFileStamp committed;
    };
    // The paths noted so far, in the order first noted (the pages of a run
    // one after the other, so a folder's files mostly follow each other).
    std::vector<std::pair<std::string, CNoted>> TakePaths();
    // Keeps the stamp of a file of path just committed (the run knows it from
    // the file's descriptor, which is cheaper than asking by name later).
    void NoteCommitted(const std::string& path, const CFileStamp& stamp);

    EFileError ReadFile(const std::string& path, std::string& contents) override;
    std::unique_ptr<CAtomicFile> CreateAtomic(const std::string& path, EFileError& error) override;
    std::unique_ptr<CAtomicFile> CreateReplacement(const std::string& path, EFileError& error) override;
    void RemoveLeftovers(const std::string& folder) override;
    std::unique_ptr<CFile> OpenForRead(const std::string& path, EFileError& error) override;
    std::unique_ptr<CFile> CreateForWrite(const std::string& path, EFileError& error) override;
    std::unique_ptr<CFile> ReplaceForWrite(const std::string& path, EFileError& error) override;
    EFileError RemoveFile(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    bool IsRegularFile(const std::string& path) override;
    bool HasContent(const std::string& path, std::string_view bytes) override;
    bool HaveSameContent(const std::string& path, const std::string& otherPath) override;
    bool CanCreateIn(const std::string& folder) override;
    bool ListFolder(const std::string& path, std::vector<std::string>& names) override;

private:
    void Note(const std::string& path);

    CFileSystem& m_files;
    bool m_bRecording = false;
    std::string m_strDestination;
    std::mutex m_mutex;
    std::deque<std::pair<std::string, CNoted>> m_paths;
    // Each path's place in m_paths, by a view of the path held there.
    std::unordered_map<std::string_view, size_t> m_index;
};
