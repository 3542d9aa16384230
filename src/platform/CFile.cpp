#include "platform/CFile.h"

#include <cerrno>
#include <unistd.h>

CFile::~CFile()
{
    Close();
}

ssize_t CFile::Read(char* buffer, size_t count)
{
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, count);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

bool CFile::Write(std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(m_fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool CFile::Close()
{
    if (m_fd < 0)
        return true;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0;
}
