#include "publisher/IRemoteFolder.h"

#include <algorithm>

#include <unistd.h>

#include "model/CSiteSettings.h"
#include "publisher/CFtpFolder.h"
#include "publisher/CLocalFolder.h"
#include "publisher/CS3Folder.h"
#include "publisher/CSftpFolder.h"

std::string MakeRemoteTempName()
{
    static std::atomic<unsigned> s_counter { 0 };
    return std::string(IRemoteFolder::kTempPrefix) + std::to_string(getpid()) + "-"
        + std::to_string(s_counter.fetch_add(1));
}

long CMemoryReader::operator()(char* p, size_t size)
{
    const size_t n = std::min(size, m_bytes.size() - m_nOffset);
    std::memcpy(p, m_bytes.data() + m_nOffset, n);
    m_nOffset += n;
    return static_cast<long>(n);
}

CObjectOptions ObjectOptionsOf(const CSiteSettings& settings)
{
    CObjectOptions options;
    options.strPageCharset = settings.IsUtf8() ? "utf-8" : "windows-1252";
    options.strCacheControl = settings.m_strCacheControl;
    return options;
}

std::unique_ptr<IRemoteFolder> CreateRemoteFolder(
    const CPublishTarget& target, IPublishPrompt& prompt, const CObjectOptions& options)
{
    if (target.eScheme == CPublishTarget::EScheme::File)
        return std::make_unique<CLocalFolder>(target.strPath);
    if (target.IsFtp())
        return std::make_unique<CFtpFolder>(target, prompt);
    if (target.eScheme == CPublishTarget::EScheme::S3)
        return std::make_unique<CS3Folder>(target, prompt, options);
    return std::make_unique<CSftpFolder>(target, prompt);
}
