#include "publisher/CSha256.h"

#include <array>
#include <memory>

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using CDigest = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

CDigest StartDigest()
{
    CDigest ctx(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (ctx != nullptr && EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1)
        ctx.reset();
    return ctx;
}

std::string FinishDigest(EVP_MD_CTX* ctx)
{
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest {};
    unsigned int length = 0;
    EVP_DigestFinal_ex(ctx, digest.data(), &length);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

} // namespace

std::string CSha256::HexOf(std::string_view bytes)
{
    const CDigest ctx = StartDigest();
    if (ctx == nullptr)
        return {};
    EVP_DigestUpdate(ctx.get(), bytes.data(), bytes.size());
    return FinishDigest(ctx.get());
}

bool CSha256::HexOfFile(const std::string& path, std::string& hex, uint64_t& size)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat st { };
    const CDigest ctx = StartDigest();
    bool bOk = ctx != nullptr && fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    size = 0;
    std::array<char, 65536> buffer {};
    while (bOk) {
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n <= 0) {
            bOk = n == 0;
            break;
        }
        EVP_DigestUpdate(ctx.get(), buffer.data(), static_cast<size_t>(n));
        size += static_cast<uint64_t>(n);
    }
    close(fd);
    if (bOk)
        hex = FinishDigest(ctx.get());
    return bOk;
}
