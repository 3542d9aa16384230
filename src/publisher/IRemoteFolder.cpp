#include "publisher/IRemoteFolder.h"

#include <unistd.h>

#include "publisher/CLocalFolder.h"
#include "publisher/CSftpFolder.h"

std::string MakeRemoteTempName()
{
    static std::atomic<unsigned> s_counter { 0 };
    return std::string(IRemoteFolder::kTempPrefix) + std::to_string(getpid()) + "-"
        + std::to_string(s_counter.fetch_add(1));
}

std::unique_ptr<IRemoteFolder> CreateRemoteFolder(const CPublishTarget& target, IPublishPrompt& prompt)
{
    if (target.eScheme == CPublishTarget::EScheme::File)
        return std::make_unique<CLocalFolder>(target.strPath);
    return std::make_unique<CSftpFolder>(target, prompt);
}
