#include "generator/COutputManifest.h"

#include <algorithm>
#include <charconv>

#include "platform/CCharSet.h"

namespace {

constexpr std::string_view kFirstLineNamesOnly = "pagewell-files 1";
constexpr std::string_view kFirstLine = "pagewell-files 2";
constexpr std::string_view kUnknown = "- ";
constexpr size_t kHashDigits = 32;
constexpr CCharSet kSeparatorOrNul(std::string_view("/\\\0", 3));
constexpr CCharSet kHexDigits("0123456789abcdef");

} // namespace

COutputManifest::CDigest COutputManifest::CDigest::Of(std::string_view bytes)
{
    CDigester digester;
    digester.Add(bytes);
    return digester.Get();
}

bool COutputManifest::IsOurs(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name != kFileName
        && kSeparatorOrNul.FindFirstIn(name) == CCharSet::npos && name.find('\n') == std::string_view::npos;
}

COutputManifest COutputManifest::Parse(std::string_view text)
{
    COutputManifest manifest;
    size_t pos = text.find('\n');
    if (pos == std::string_view::npos)
        return manifest;
    const std::string_view first = text.substr(0, pos);
    if (first != kFirstLine && first != kFirstLineNamesOnly)
        return manifest;
    while (++pos < text.size()) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        if (first == kFirstLineNamesOnly)
            manifest.Add(line);
        else
            manifest.AddLine(line);
        pos = end;
    }
    return manifest;
}

// A line that does not read whole is left out: its file is then not ours.
void COutputManifest::AddLine(std::string_view line)
{
    if (line.starts_with(kUnknown)) {
        Add(line.substr(kUnknown.size()));
        return;
    }
    CDigest digest;
    const auto [pEnd, error] = std::from_chars(line.data(), line.data() + line.size(), digest.nSize);
    const size_t hashAt = static_cast<size_t>(pEnd - line.data()) + 1;
    if (error != std::errc() || hashAt == 1 || line.size() <= hashAt + kHashDigits + 1
        || line[hashAt - 1] != ' ' || line[hashAt + kHashDigits] != ' ')
        return;
    const std::string_view hash = line.substr(hashAt, kHashDigits);
    if (!std::all_of(hash.begin(), hash.end(), [](char c) { return kHexDigits.Contains(c); }))
        return;
    digest.strHash = hash;
    Add(line.substr(hashAt + kHashDigits + 1), std::move(digest));
}

std::string COutputManifest::Format() const
{
    std::string text(kFirstLine);
    text += '\n';
    for (const CEntry& entry : GetEntries()) {
        if (entry.digest) {
            text += std::to_string(entry.digest->nSize);
            text += ' ';
            text += entry.digest->strHash;
            text += ' ';
        } else {
            text += kUnknown;
        }
        text += entry.strName;
        text += '\n';
    }
    return text;
}

void COutputManifest::Add(std::string_view name, std::optional<CDigest> digest)
{
    if (!IsOurs(name))
        return;
    m_bSorted = m_bSorted && (m_entries.empty() || m_entries.back().strName < name);
    m_entries.push_back({ std::string(name), std::move(digest) });
}

const COutputManifest::CEntry* COutputManifest::Find(std::string_view name) const
{
    const std::vector<CEntry>& entries = GetEntries();
    const auto it = std::lower_bound(entries.begin(), entries.end(), name,
        [](const CEntry& entry, std::string_view key) { return entry.strName < key; });
    return it != entries.end() && it->strName == name ? &*it : nullptr;
}

const std::vector<COutputManifest::CEntry>& COutputManifest::GetEntries() const
{
    if (!m_bSorted) {
        std::stable_sort(m_entries.begin(), m_entries.end(),
            [](const CEntry& a, const CEntry& b) { return a.strName < b.strName; });
        m_entries.erase(std::unique(m_entries.begin(), m_entries.end(),
                            [](const CEntry& a, const CEntry& b) { return a.strName == b.strName; }),
            m_entries.end());
        m_bSorted = true;
    }
    return m_entries;
}

std::vector<std::string> COutputManifest::GetNames() const
{
    std::vector<std::string> names;
    names.reserve(GetEntries().size());
    for (const CEntry& entry : GetEntries())
        names.push_back(entry.strName);
    return names;
}

std::vector<COutputManifest::CEntry> COutputManifest::Without(const COutputManifest& newer) const
{
    std::vector<CEntry> gone;
    for (const CEntry& entry : GetEntries()) {
        if (!newer.Contains(entry.strName))
            gone.push_back(entry);
    }
    return gone;
}
