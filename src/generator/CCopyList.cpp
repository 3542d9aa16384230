#include "generator/CCopyList.h"

#include "platform/CCharSet.h"

void CCopyList::AddToCopyList(std::string_view path)
{
    const CString entry = "[" + CString(path) + "]";
    if (m_strText.find(entry) == CString::npos)
        m_strText += entry;
}

std::vector<CString> CCopyList::GetEntries() const
{
    std::vector<CString> entries;
    size_t start = 0;
    while (start < m_strText.size()) {
        static constexpr CCharSet kBrackets("[]");
        size_t end = kBrackets.FindFirstIn(m_strText, start);
        if (end == CCharSet::npos)
            end = m_strText.size();
        if (end > start)
            entries.push_back(m_strText.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}
