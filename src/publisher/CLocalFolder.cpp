#include "publisher/CLocalFolder.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

CRemoteEntry::EKind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return CRemoteEntry::EKind::File;
    if (S_ISDIR(mode))
        return CRemoteEntry::EKind::Folder;
    if (S_ISLNK(mode))
        return CRemoteEntry::EKind::Link;
    return CRemoteEntry::EKind::Other;
}

} // namespace

std::string CLocalFolder::Failure(const std::string& what, const std::string& name, int error) const
{
    const std::string path = name.empty() ? m_strFolder : PathOf(name);
    std::string reason = std::strerror(error);
    if (error == ENOSPC || error == EDQUOT)
        reason = "the disk is full";
    else if (error == EACCES || error == EPERM)
        reason = "permission denied";
    else if (error == ENOTDIR)
        reason = "a part of the path is a file where a folder is needed";
    return "cannot " + what + " " + path + ": " + reason;
}

bool CLocalFolder::Open(std::string& error)
{
    std::error_code code;
    std::filesystem::create_directories(m_strFolder, code);
    struct stat st { };
    if (stat(m_strFolder.c_str(), &st) != 0) {
        error = Failure("make the folder", "", code ? code.value() : errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = Failure("publish into", "", ENOTDIR);
        return false;
    }
    return true;
}

bool CLocalFolder::List(std::vector<CRemoteEntry>& entries, std::string& error)
{
    entries.clear();
    DIR* pDir = opendir(m_strFolder.c_str());
    if (pDir == nullptr) {
        error = Failure("list", "", errno);
        return false;
    }
    const int dirFd = dirfd(pDir);
    while (const dirent* pEntry = readdir(pDir)) {
        const std::string name = pEntry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st { };
        if (fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            entries.push_back({ name, KindOf(st.st_mode) });
    }
    closedir(pDir);
    return true;
}

bool CLocalFolder::Read(const std::string& name, std::string& bytes, std::string& error)
{
    const int fd = open(PathOf(name).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        error = Failure("read", name, errno);
        return false;
    }
    bytes.clear();
    std::array<char, 65536> buffer {};
    ssize_t n = 0;
    while ((n = read(fd, buffer.data(), buffer.size())) > 0)
        bytes.append(buffer.data(), static_cast<size_t>(n));
    const int readError = errno;
    close(fd);
    if (n < 0)
        error = Failure("read", name, readError);
    return n == 0;
}

bool CLocalFolder::WriteTemp(int sourceFd, const std::string& bytes, const std::string& name,
    const std::atomic<bool>& cancel, std::string& error)
{
    const std::string temp = MakeRemoteTempName();
    const int fd = open(PathOf(temp).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = Failure("write", name, errno);
        return false;
    }
    bool bOk = true;
    int failure = 0;
    if (sourceFd < 0) {
        bOk = WriteAll(fd, bytes.data(), bytes.size());
        failure = errno;
    } else {
        std::array<char, 65536> buffer {};
        ssize_t n = 0;
        while (bOk && !cancel && (n = read(sourceFd, buffer.data(), buffer.size())) > 0) {
            bOk = WriteAll(fd, buffer.data(), static_cast<size_t>(n));
            failure = errno;
        }
        bOk = bOk && n == 0 && !cancel;
        failure = cancel ? ECANCELED : failure;
    }
    if (close(fd) != 0 && bOk) {
        bOk = false;
        failure = errno;
    }
    if (bOk && rename(PathOf(temp).c_str(), PathOf(name).c_str()) != 0) {
        bOk = false;
        failure = errno;
    }
    if (!bOk) {
        unlink(PathOf(temp).c_str());
        error = failure == ECANCELED ? "cancelled" : Failure("write", name, failure);
    }
    return bOk;
}

bool CLocalFolder::Put(const std::string& localPath, const std::string& name, const std::atomic<bool>& cancel,
    std::string& error)
{
    const int source = open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) {
        error = "cannot read " + localPath + ": " + std::strerror(errno);
        return false;
    }
    const bool bOk = WriteTemp(source, {}, name, cancel, error);
    close(source);
    return bOk;
}

bool CLocalFolder::PutBytes(const std::string& bytes, const std::string& name, std::string& error)
{
    const std::atomic<bool> never { false };
    return WriteTemp(-1, bytes, name, never, error);
}

bool CLocalFolder::Remove(const std::string& name, std::string& error)
{
    if (unlink(PathOf(name).c_str()) == 0 || errno == ENOENT)
        return true;
    error = Failure("remove", name, errno);
    return false;
}
