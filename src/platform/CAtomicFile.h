#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/CFile.h"
#include "platform/CFileStamp.h"

// A file written in pieces that replaces the file at its path only when
// committed: the data goes to a temporary file in the same folder, which is
// flushed to the disk and renamed over the old file. Until then, and on any
// failure, the old file stays as it was; an uncommitted temporary file is
// removed when the object dies.
class CAtomicFile {
public:
    // Whether Commit flushes the data to the disk before the rename. Without
    // the flush a killed process still leaves the old file or the complete new
    // one; only a crash of the whole system may not.
    enum class ESync { Flush, NoFlush };

    // Takes over fd, the open temporary file at tempPath.
    CAtomicFile(int fd, std::string tempPath, std::string path, ESync sync = ESync::Flush);
    // Takes over fd, an unnamed file of path's folder (O_TMPFILE): the commit
    // links it in under path where nothing is there yet (one entry of the
    // folder, as a plain new file), and otherwise under a temporary name
    // (CFileSystem::NextTempPath) renamed over the old file. A killed process
    // leaves no unnamed file behind.
    static std::unique_ptr<CAtomicFile> Unnamed(int fd, std::string path, ESync sync);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // The temporary file, to write the new contents to.
    CFile& GetFile() { return m_file; }

    // Flushes, closes and renames the temporary file over the old one. Returns
    // the first error of the writes or of these steps; on any error the old
    // file is kept and the temporary file removed.
    EFileError Commit();
    // The stamp of the file as committed, where taking it cost no more than
    // asking its descriptor (an unnamed file); otherwise one that says
    // nothing is there.
    const CFileStamp& GetCommittedStamp() const { return m_committedStamp; }

private:
    EFileError CommitUnnamed();

    CFile m_file;
    std::string m_strTempPath;
    std::string m_strPath;
    ESync m_sync;
    bool m_bCommitted = false;
    bool m_bUnnamed = false;
    CFileStamp m_committedStamp;
};
