#include "platform/CFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CFileSystem.h"

CFile::~CFile()
{
    Close();
}

bool CFile::Fail()
{
    if (m_nFirstErrno == 0)
        m_nFirstErrno = errno != 0 ? errno : EIO;
    return false;
}

ssize_t CFile::Read(char* buffer, size_t count)
{
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, count);
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            Fail();
            return got;
        }
    }
}

bool CFile::Write(std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(m_fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail();
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool CFile::Sync()
{
    return ::fsync(m_fd) == 0 || Fail();
}

bool CFile::Close()
{
    if (m_fd < 0)
        return true;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0 || Fail();
}

off_t CFile::GetSize() const
{
    struct stat info { };
    return ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : -1;
}

EFileError CFile::GetError() const
{
    return CFileSystem::FromErrno(m_nFirstErrno);
}
