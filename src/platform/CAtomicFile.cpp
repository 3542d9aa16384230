#include "platform/CAtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "platform/CFileSystem.h"

CAtomicFile::CAtomicFile(int fd, std::string tempPath, std::string path, ESync sync)
    : m_file(fd)
    , m_strTempPath(std::move(tempPath))
    , m_strPath(std::move(path))
    , m_sync(sync)
{ }

std::unique_ptr<CAtomicFile> CAtomicFile::Unnamed(int fd, std::string path, ESync sync)
{
    auto pFile = std::make_unique<CAtomicFile>(fd, std::string(), std::move(path), sync);
    pFile->m_bUnnamed = true;
    return pFile;
}

CAtomicFile::~CAtomicFile()
{
    if (m_bCommitted || m_bUnnamed)
        return; // an unnamed file goes with its descriptor
    m_file.Close();
    ::unlink(m_strTempPath.c_str());
}

EFileError CAtomicFile::Commit()
{
    if (m_file.GetError() != EFileError::None)
        return m_file.GetError();
    // The data reaches the disk before the rename makes it the file, so that a
    // crash leaves either the old file or the complete new one.
    if (m_sync == ESync::Flush && !m_file.Sync())
        return m_file.GetError();
    if (m_bUnnamed)
        return CommitUnnamed();
    if (!m_file.Close())
        return m_file.GetError();
    if (std::rename(m_strTempPath.c_str(), m_strPath.c_str()) != 0)
        return CFileSystem::FromErrno(errno);
    m_bCommitted = true;
    return EFileError::None;
}

namespace {

// Gives the open unnamed file fd a name. By its descriptor where the kernel
// lets anyone do so (Linux 6.10 and later), which spares a walk through
// /proc for every file; older kernels refuse that to processes without
// CAP_DAC_READ_SEARCH, and the link goes through /proc.
bool LinkDescriptor(int fd, const std::string& name)
{
    static std::atomic<bool> s_bEmptyPath { true };
    if (s_bEmptyPath.load(std::memory_order_relaxed)) {
        if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)
            return true;
        if (errno != ENOENT && errno != EPERM && errno != EINVAL)
            return false;
        s_bEmptyPath.store(false, std::memory_order_relaxed);
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

} // namespace

EFileError CAtomicFile::CommitUnnamed()
{
    const int fd = m_file.GetDescriptor();
    if (!LinkDescriptor(fd, m_strPath)) {
        if (errno != EEXIST)
            return CFileSystem::FromErrno(errno);
        // An old file is there: the new one gets a name of its own first and
        // is then renamed over it.
        std::string temp;
        for (int attempt = 0;; ++attempt) {
            temp = CFileSystem::NextTempPath(m_strPath);
            if (LinkDescriptor(fd, temp))
                break;
            if (errno != EEXIST || attempt == 100)
                return CFileSystem::FromErrno(errno);
        }
        if (std::rename(temp.c_str(), m_strPath.c_str()) != 0) {
            const int error = errno;
            ::unlink(temp.c_str());
            return CFileSystem::FromErrno(error);
        }
    }
    m_bCommitted = true;
    // Linking and renaming change the file's inode times: taken after both.
    m_committedStamp = CFileStamp::OfDescriptor(fd);
    return m_file.Close() ? EFileError::None : m_file.GetError();
}
