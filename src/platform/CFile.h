#pragma once

#include <string_view>
#include <sys/types.h>

#include "platform/EFileError.h"

// An open file of the real file system, read or written in blocks. Closed when
// the object dies.
class CFile {
public:
    explicit CFile(int fd)
        : m_fd(fd)
    { }
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Reads up to count bytes; 0 at the end of the file, -1 on an error.
    ssize_t Read(char* buffer, size_t count);
    // Writes all of data; false on an error.
    bool Write(std::string_view data);
    // Flushes the written data to the disk; false on an error.
    bool Sync();
    // Closes the file; false when the system reports an error (data may be lost).
    bool Close();

    // The size of the file, or -1 when it has none (a pipe, say).
    off_t GetSize() const;

    // The first error a read, write, sync or close met, or None.
    EFileError GetError() const;

    // The open file's descriptor (-1 once closed).
    int GetDescriptor() const { return m_fd; }

private:
    bool Fail();

    int m_fd;
    int m_nFirstErrno = 0;
};
