#include "platform/CAtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "platform/CFileSystem.h"

CAtomicFile::CAtomicFile(int fd, std::string tempPath, std::string path, ESync sync)
    : m_file(fd)
    , m_strTempPath(std::move(tempPath))
    , m_strPath(std::move(path))
    , m_sync(sync)
{ }

CAtomicFile::~CAtomicFile()
{
    if (m_bCommitted)
        return;
    m_file.Close();
    ::unlink(m_strTempPath.c_str());
}

EFileError CAtomicFile::Commit()
{
    if (m_file.GetError() != EFileError::None)
        return m_file.GetError();
    // The data reaches the disk before the rename makes it the file, so that a
    // crash leaves either the old file or the complete new one.
    if ((m_sync == ESync::Flush && !m_file.Sync()) || !m_file.Close())
        return m_file.GetError();
    if (std::rename(m_strTempPath.c_str(), m_strPath.c_str()) != 0)
        return CFileSystem::FromErrno(errno);
    m_bCommitted = true;
    return EFileError::None;
}
