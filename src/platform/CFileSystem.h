#pragma once

#include <string>
#include <string_view>

#include "platform/CString.h"

// What went wrong with a file, in the categories the messages distinguish.
enum class EFileError { None, NotFound, AccessDenied, BadPath, DiskFull, Generic };

// The files and folders the core reads and writes. Everything goes through
// this interface so that tests can make any operation fail.
class CFileSystem {
public:
    virtual ~CFileSystem() = default;

    // Reads the whole file at path into contents.
    virtual EFileError ReadFile(const std::string& path, std::string& contents);

    // Replaces the file at path with data atomically: the data is written to a
    // temporary file in the same folder, flushed, and renamed over the old
    // file only when complete. On any failure the old file stays as it was.
    virtual EFileError WriteFileAtomic(const std::string& path, std::string_view data);

    // The real file system of the process.
    static CFileSystem& Real();

    static EFileError FromErrno(int error);
};
