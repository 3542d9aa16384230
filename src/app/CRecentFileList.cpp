#include "app/CRecentFileList.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kListSection = "Recent File List";
constexpr const char* kSettingsSection = "Settings";

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// The lines of the sections this list does not own, kept for rewriting.
std::string ForeignSections(const std::string& profile)
{
    std::ifstream in(profile);
    std::string line;
    std::string kept;
    bool bOwn = false;
    while (std::getline(in, line)) {
        const std::string trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']') {
            const std::string name = trimmed.substr(1, trimmed.size() - 2);
            bOwn = EqualNoCase(name, kListSection) || EqualNoCase(name, kSettingsSection);
        }
        if (!bOwn)
            kept += line + "\n";
    }
    return kept;
}

} // namespace

CRecentFileList::CRecentFileList(std::string profilePath, size_t nSize)
    : m_strProfile(std::move(profilePath))
    , m_nSize(nSize)
{ }

void CRecentFileList::ReadList()
{
    m_entries.clear();
    m_nPreviewPages = 0;
    std::ifstream in(m_strProfile);
    std::vector<std::string> slots(m_nSize);
    std::string section;
    std::string line;
    while (std::getline(in, line)) {
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == ';')
            continue;
        if (trimmed.front() == '[' && trimmed.back() == ']') {
            section = trimmed.substr(1, trimmed.size() - 2);
            continue;
        }
        const size_t eq = trimmed.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = Trim(trimmed.substr(0, eq));
        const std::string value = Trim(trimmed.substr(eq + 1));
        if (EqualNoCase(section, kListSection) && key.size() > 4 && EqualNoCase(key.substr(0, 4), "File")) {
            const std::string number = key.substr(4);
            if (number.find_first_not_of("0123456789") != std::string::npos || number.size() > 3)
                continue;
            const size_t n = std::stoul(number);
            if (n >= 1 && n <= m_nSize)
                slots[n - 1] = value;
        } else if (EqualNoCase(section, kSettingsSection) && EqualNoCase(key, "PreviewPages")) {
            std::istringstream(value) >> m_nPreviewPages;
        }
    }
    // The list ends at its first empty entry.
    for (const std::string& entry : slots) {
        if (entry.empty())
            break;
        m_entries.push_back(entry);
    }
}

bool CRecentFileList::WriteList() const
{
    std::error_code error;
    const std::filesystem::path path(m_strProfile);
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), error);
    std::string text = ForeignSections(m_strProfile);
    text += std::string("[") + kListSection + "]\n";
    for (size_t i = 0; i < m_entries.size(); ++i)
        text += "File" + std::to_string(i + 1) + "=" + m_entries[i] + "\n";
    if (m_nPreviewPages != 0)
        text += std::string("[") + kSettingsSection + "]\nPreviewPages=" + std::to_string(m_nPreviewPages)
            + "\n";
    std::ofstream out(m_strProfile, std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    // Another running copy may have changed the file meanwhile.
    ReadList();
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > m_nSize)
        m_entries.resize(m_nSize);
    WriteList();
}

void CRecentFileList::Remove(size_t nIndex)
{
    if (nIndex >= m_entries.size())
        return;
    const std::string gone = m_entries[nIndex];
    ReadList();
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), gone), m_entries.end());
    WriteList();
}
