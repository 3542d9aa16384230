#include "platform/CFileStamp.h"

#include <sys/stat.h>

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

} // namespace

CFileStamp CFileStamp::Of(const std::string& path)
{
    CFileStamp stamp;
    struct stat info { };
    if (::stat(path.empty() ? "." : path.c_str(), &info) != 0)
        return stamp;
    stamp.bExists = true;
    stamp.nMode = info.st_mode;
    stamp.nSize = static_cast<uint64_t>(info.st_size);
    stamp.nDevice = info.st_dev;
    stamp.nInode = info.st_ino;
    stamp.nModified = Nanoseconds(info.st_mtim);
    stamp.nChanged = Nanoseconds(info.st_ctim);
    return stamp;
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
