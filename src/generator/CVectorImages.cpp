#include "generator/CVectorImages.h"

#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"

const CString& CVectorImages::Prefer(const CString& path)
{
    const auto found = m_chosen.find(path);
    if (found != m_chosen.end())
        return found->second;
    constexpr std::string_view kGif = ".gif";
    CString chosen = path;
    if (path.size() > kGif.size()
        && CFileLocator::EqualNoCase(std::string_view(path).substr(path.size() - kGif.size()), kGif)) {
        const CString twin = path.substr(0, path.size() - kGif.size()) + ".svg";
        if (m_files.IsRegularFile(m_locator.LocateForRead(twin)))
            chosen = twin;
    }
    return m_chosen.emplace(path, std::move(chosen)).first->second;
}
