#include "generator/CPageLinks.h"

#include <algorithm>

#include "checker/CHtmlTagReader.h"

namespace {

constexpr std::string_view kBlanks = " \t\r\n\f";

} // namespace

std::optional<CString> CPageLinks::RewriteReference(std::string_view reference) const
{
    if (m_strExtension == kOldExtension)
        return std::nullopt;
    // Browsers ignore the blanks around an address.
    const size_t begin = std::min(reference.find_first_not_of(kBlanks), reference.size());
    const size_t end = std::min(reference.find_first_of("?#", begin), reference.size());
    std::string_view file = reference.substr(begin, end - begin);
    if (end == reference.size())
        file = file.substr(0, file.find_last_not_of(kBlanks) + 1);
    // A path, an address with a scheme or another folder's file is not a
    // page of this site's folder.
    if (!file.ends_with(kOldExtension) || file.size() == kOldExtension.size()
        || file.find_first_of("/\\:") != std::string_view::npos)
        return std::nullopt;
    CString renamed(reference.substr(0, begin));
    renamed += file.substr(0, file.size() - kOldExtension.size());
    renamed += m_strExtension;
    if (!m_isPageFile(std::string_view(renamed).substr(begin)))
        return std::nullopt;
    renamed += reference.substr(begin + file.size());
    return renamed;
}

CString CPageLinks::RewriteText(std::string_view text) const
{
    if (m_strExtension == kOldExtension || text.find(kOldExtension) == std::string_view::npos)
        return CString(text);
    CString out;
    size_t copied = 0;
    CHtmlTagReader reader(text);
    for (CHtmlTagReader::CTag tag; reader.Next(tag);) {
        const auto href = tag.Is("a") ? tag.Get("href") : std::nullopt;
        if (!href)
            continue;
        const auto rewritten = RewriteReference(*href);
        if (!rewritten)
            continue;
        const size_t start = static_cast<size_t>(href->data() - text.data());
        out.append(text.substr(copied, start - copied));
        out += *rewritten;
        copied = start + href->size();
    }
    out.append(text.substr(copied));
    return out;
}
