#include "platform/CFileStamp.h"

#include <fcntl.h>
#include <future>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CArchive.h"

namespace {

int64_t Nanoseconds(const timespec& time)
{
    return static_cast<int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

void Exchange64(CArchive& ar, uint64_t& value)
{
    auto low = static_cast<uint32_t>(value);
    auto high = static_cast<uint32_t>(value >> 32);
    ar.Exchange(low);
    ar.Exchange(high);
    value = static_cast<uint64_t>(high) << 32 | low;
}

void Exchange64(CArchive& ar, int64_t& value)
{
    auto bits = static_cast<uint64_t>(value);
    Exchange64(ar, bits);
    value = static_cast<int64_t>(bits);
}

CFileStamp FromInfo(const struct stat& info)
{
    CFileStamp stamp;
    stamp.bExists = true;
    stamp.nMode = info.st_mode;
    stamp.nSize = static_cast<uint64_t>(info.st_size);
    stamp.nDevice = info.st_dev;
    stamp.nInode = info.st_ino;
    stamp.nModified = Nanoseconds(info.st_mtim);
    stamp.nChanged = Nanoseconds(info.st_ctim);
    return stamp;
}

// Stamps paths[begin, end), looking each name up in its folder, which is
// opened once for a run of paths in the same folder. Where the folder
// cannot be opened, the path is stamped whole, which says the same.
void StampRange(
    const std::vector<std::string>& paths, std::vector<CFileStamp>& stamps, size_t begin, size_t end)
{
    std::string folder;
    int folderFd = -1;
    for (size_t i = begin; i < end; ++i) {
        const std::string& path = paths[i];
        const size_t slash = path.rfind('/');
        if (slash == std::string::npos || slash == 0 || slash + 1 == path.size()) {
            stamps[i] = CFileStamp::Of(path);
            continue;
        }
        const std::string_view pathFolder(path.data(), slash);
        if (folderFd < 0 || pathFolder != folder) {
            if (folderFd >= 0)
                ::close(folderFd);
            folder = pathFolder;
            folderFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        }
        struct stat info { };
        if (folderFd < 0)
            stamps[i] = CFileStamp::Of(path);
        else if (::fstatat(folderFd, path.c_str() + slash + 1, &info, 0) == 0)
            stamps[i] = FromInfo(info);
        else
            stamps[i] = CFileStamp();
    }
    if (folderFd >= 0)
        ::close(folderFd);
}

} // namespace

CFileStamp CFileStamp::Of(const std::string& path)
{
    struct stat info { };
    if (::stat(path.empty() ? "." : path.c_str(), &info) != 0)
        return CFileStamp();
    return FromInfo(info);
}

CFileStamp CFileStamp::OfDescriptor(int fd)
{
    struct stat info { };
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return CFileStamp();
    return FromInfo(info);
}

std::vector<CFileStamp> CFileStamp::OfAll(const std::vector<std::string>& paths)
{
    std::vector<CFileStamp> stamps(paths.size());
    // A second thread only pays where there are many.
    constexpr size_t kManyPaths = 2048;
    if (paths.size() < kManyPaths) {
        StampRange(paths, stamps, 0, paths.size());
        return stamps;
    }
    const size_t half = paths.size() / 2;
    auto first = std::async(std::launch::async, [&] { StampRange(paths, stamps, 0, half); });
    StampRange(paths, stamps, half, paths.size());
    first.get();
    return stamps;
}

void CFileStamp::Serialize(CArchive& ar)
{
    uint32_t exists = bExists ? 1 : 0;
    ar.Exchange(exists);
    bExists = exists != 0;
    ar.Exchange(nMode);
    Exchange64(ar, nSize);
    Exchange64(ar, nDevice);
    Exchange64(ar, nInode);
    Exchange64(ar, nModified);
    Exchange64(ar, nChanged);
}
