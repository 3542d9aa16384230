#include "generator/COutputManifest.h"

#include "platform/CCharSet.h"

namespace {

constexpr std::string_view kFirstLine = "pagewell-files 1";
constexpr CCharSet kSeparatorOrNul(std::string_view("/\\\0", 3));

} // namespace

bool COutputManifest::IsOurs(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name != kFileName
        && kSeparatorOrNul.FindFirstIn(name) == CCharSet::npos;
}

COutputManifest COutputManifest::Parse(std::string_view text)
{
    COutputManifest manifest;
    size_t pos = text.find('\n');
    if (pos == std::string_view::npos || text.substr(0, pos) != kFirstLine)
        return manifest;
    while (++pos < text.size()) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        manifest.Add(text.substr(pos, end - pos));
        pos = end;
    }
    return manifest;
}

std::string COutputManifest::Format() const
{
    std::string text(kFirstLine);
    text += '\n';
    for (const std::string& name : GetNames()) {
        text += name;
        text += '\n';
    }
    return text;
}

void COutputManifest::Add(std::string_view name)
{
    if (!IsOurs(name) || name.find('\n') != std::string_view::npos)
        return;
    m_bSorted = m_bSorted && (m_names.empty() || m_names.back() < name);
    m_names.emplace_back(name);
}

const std::vector<std::string>& COutputManifest::GetNames() const
{
    if (!m_bSorted) {
        std::sort(m_names.begin(), m_names.end());
        m_names.erase(std::unique(m_names.begin(), m_names.end()), m_names.end());
        m_bSorted = true;
    }
    return m_names;
}

std::vector<std::string> COutputManifest::Without(const COutputManifest& newer) const
{
    std::vector<std::string> gone;
    for (const std::string& name : GetNames()) {
        if (!newer.Contains(name))
            gone.push_back(name);
    }
    return gone;
}
