#include "platform/CFileSystem.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <vector>

#include "platform/CAtomicFile.h"
#include "platform/CFile.h"

EFileError CFileSystem::FromErrno(int error)
{
    switch (error) {
    case 0:
        return EFileError::None;
    case ENOENT:
        return EFileError::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return EFileError::AccessDenied;
    case ENOTDIR:
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return EFileError::BadPath;
    case ENOSPC:
    case EDQUOT:
        return EFileError::DiskFull;
    default:
        return EFileError::Generic;
    }
}

int CFileSystem::OpenRegular(const std::string& path, EFileError& error)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever;
    // reading a regular file ignores the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = FromErrno(errno);
        return -1;
    }
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = EFileError::BadPath;
        return -1;
    }
    error = EFileError::None;
    return fd;
}

std::string CFileSystem::RealPath(const std::string& path)
{
    char* resolved = ::realpath(path.empty() ? "." : path.c_str(), nullptr);
    if (resolved == nullptr)
        return {};
    std::string result(resolved);
    std::free(resolved);
    return result;
}

bool CFileSystem::IsRegularFile(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

EFileError CFileSystem::ReadFile(const std::string& path, std::string& contents)
{
    EFileError error = EFileError::None;
    const int fd = OpenRegular(path, error);
    if (fd < 0)
        return error;
    struct stat info { };
    const bool bKnownSize = ::fstat(fd, &info) == 0;
    // Read straight into contents, sized once; a file that grows meanwhile
    // still reads to its end.
    size_t size = 0;
    contents.resize(bKnownSize ? static_cast<size_t>(info.st_size) + 1 : 1 << 16);
    for (;;) {
        if (size == contents.size())
            contents.resize(contents.size() * 2);
        const ssize_t got = ::read(fd, contents.data() + size, contents.size() - size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            contents.clear();
            return FromErrno(error);
        }
        if (got == 0)
            break;
        size += static_cast<size_t>(got);
    }
    contents.resize(size);
    ::close(fd);
    return EFileError::None;
}

std::unique_ptr<CAtomicFile> CFileSystem::CreateAtomic(const std::string& path, EFileError& error)
{
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = FromErrno(errno);
        return nullptr;
    }
    auto pFile = std::make_unique<CAtomicFile>(fd, temp, path);

    // Keep the permissions of the file being replaced; a new file gets the
    // ordinary ones (0666 less the umask), not mkstemp's private 0600.
    struct stat old { };
    mode_t mode = 0;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    error = EFileError::None;
    return pFile;
}

EFileError CFileSystem::WriteFileAtomic(const std::string& path, std::string_view data)
{
    EFileError error = EFileError::None;
    const auto pFile = CreateAtomic(path, error);
    if (pFile == nullptr)
        return error;
    pFile->GetFile().Write(data);
    return pFile->Commit();
}

std::string CFileSystem::NextTempPath(const std::string& path)
{
    static std::atomic<unsigned> s_nCounter { 0 };
    const size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + std::string(kTempPrefix)
        + std::to_string(::getpid()) + "-" + std::to_string(s_nCounter++);
}

std::unique_ptr<CAtomicFile> CFileSystem::CreateReplacement(const std::string& path, EFileError& error)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    // An unnamed file first: a run killed while writing it leaves nothing,
    // and a new page costs the folder one entry, as a plain write would. The
    // link to a name goes by the descriptor, or through /proc where the kernel
    // refuses that; without /proc, or where the file system has no unnamed
    // files, a named temporary file does the same.
    static const bool s_bProcFd = ::access("/proc/self/fd", X_OK) == 0;
    if (s_bProcFd) {
        const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            error = EFileError::None;
            return CAtomicFile::Unnamed(fd, path, CAtomicFile::ESync::NoFlush);
        }
    }
    // The name carries the process number, so that a later run knows whether
    // the process that made it is gone; a leftover of an earlier process of
    // that number is stepped over.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = NextTempPath(path);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            error = EFileError::None;
            return std::make_unique<CAtomicFile>(fd, std::move(temp), path, CAtomicFile::ESync::NoFlush);
        }
        if (errno != EEXIST)
            break;
    }
    error = FromErrno(errno);
    return nullptr;
}

void CFileSystem::RemoveLeftovers(const std::string& folder)
{
    std::vector<std::string> names;
    if (!ListFolder(folder, names))
        return;
    for (const std::string& name : names) {
        if (!name.starts_with(kTempPrefix))
            continue;
        const char* const pszPid = name.c_str() + kTempPrefix.size();
        pid_t pid = 0;
        const auto [end, ec] = std::from_chars(pszPid, name.c_str() + name.size(), pid);
        if (ec != std::errc() || *end != '-' || pid <= 0)
            continue;
        if (pid != ::getpid() && (::kill(pid, 0) == 0 || errno == EPERM))
            continue;
        RemoveFile(folder.empty() ? name : folder + "/" + name);
    }
}

CFileSystem& CFileSystem::Real()
{
    static CFileSystem real;
    return real;
}

std::unique_ptr<CFile> CFileSystem::OpenForRead(const std::string& path, EFileError& error)
{
    const int fd = OpenRegular(path, error);
    return fd < 0 ? nullptr : std::make_unique<CFile>(fd);
}

std::unique_ptr<CFile> CFileSystem::CreateForWrite(const std::string& path, EFileError& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = FromErrno(errno);
        return nullptr;
    }
    error = EFileError::None;
    return std::make_unique<CFile>(fd);
}

std::unique_ptr<CFile> CFileSystem::ReplaceForWrite(const std::string& path, EFileError& error)
{
    // Creating exclusively first finds out whether an old file is there in the
    // same step; only then is it deleted and the new one created.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) {
        ::unlink(path.c_str());
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    }
    if (fd < 0) {
        error = FromErrno(errno);
        return nullptr;
    }
    error = EFileError::None;
    return std::make_unique<CFile>(fd);
}

EFileError CFileSystem::RemoveFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 ? EFileError::None : FromErrno(errno);
}

bool CFileSystem::Exists(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0;
}

bool CFileSystem::IsDirectory(const std::string& path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {

// A regular file opened for reading, closed when it goes.
class CReadOnlyFd {
public:
    explicit CReadOnlyFd(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {
        struct stat info { };
        if (m_fd >= 0 && ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode))
            m_size = info.st_size;
    }
    ~CReadOnlyFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CReadOnlyFd(const CReadOnlyFd&) = delete;
    CReadOnlyFd& operator=(const CReadOnlyFd&) = delete;

    // The size of a regular file, or -1.
    off_t GetSize() const { return m_size; }
    // Fills buffer completely; false at an error or a short file.
    bool ReadExactly(char* buffer, size_t size) const
    {
        while (size > 0) {
            const ssize_t got = ::read(m_fd, buffer, size);
            if (got <= 0) {
                if (got < 0 && errno == EINTR)
                    continue;
                return false;
            }
            buffer += got;
            size -= static_cast<size_t>(got);
        }
        return true;
    }

private:
    int m_fd;
    off_t m_size = -1;
};

constexpr size_t kCompareBlock = size_t { 64 } * 1024;

} // namespace

bool CFileSystem::HasContent(const std::string& path, std::string_view bytes)
{
    const CReadOnlyFd file(path);
    if (file.GetSize() < 0 || static_cast<uint64_t>(file.GetSize()) != bytes.size())
        return false;
    std::vector<char> buffer(std::min(bytes.size(), kCompareBlock));
    for (size_t done = 0; done < bytes.size();) {
        const size_t size = std::min(buffer.size(), bytes.size() - done);
        if (!file.ReadExactly(buffer.data(), size)
            || bytes.substr(done, size) != std::string_view(buffer.data(), size))
            return false;
        done += size;
    }
    return true;
}

bool CFileSystem::HaveSameContent(const std::string& path, const std::string& otherPath)
{
    const CReadOnlyFd file(path);
    const CReadOnlyFd other(otherPath);
    if (file.GetSize() < 0 || file.GetSize() != other.GetSize())
        return false;
    std::vector<char> buffer(kCompareBlock);
    std::vector<char> otherBuffer(kCompareBlock);
    for (auto left = static_cast<uint64_t>(file.GetSize()); left > 0;) {
        const size_t size = static_cast<size_t>(std::min<uint64_t>(left, kCompareBlock));
        if (!file.ReadExactly(buffer.data(), size) || !other.ReadExactly(otherBuffer.data(), size)
            || std::memcmp(buffer.data(), otherBuffer.data(), size) != 0)
            return false;
        left -= size;
    }
    return true;
}

bool CFileSystem::CanCreateIn(const std::string& folder)
{
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

bool CFileSystem::ListFolder(const std::string& path, std::vector<std::string>& names)
{
    names.clear();
    DIR* pDir = ::opendir(path.empty() ? "." : path.c_str());
    if (pDir == nullptr)
        return false;
    while (const dirent* pEntry = ::readdir(pDir)) {
        const std::string name = pEntry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(pDir);
    return true;
}
