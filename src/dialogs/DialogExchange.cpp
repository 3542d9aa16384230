#include "dialogs/DialogExchange.h"

#include <algorithm>
#include <limits>

#include "platform/CCodePage.h"

namespace {

CString Lowered(std::string_view text)
{
    CString lowered(text);
    CCodePage::CharLower(lowered);
    return lowered;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

void CComboList::AddString(const CString& entry)
{
    if (!m_bSorted) {
        m_entries.push_back(entry);
        return;
    }
    const CString key = Lowered(entry);
    const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), key,
        [](const CString& k, const CString& existing) { return k < Lowered(existing); });
    m_entries.insert(at, entry);
}

std::optional<size_t> FindComboEntry(const std::vector<CString>& entries, const CString& value)
{
    if (value.empty())
        return std::nullopt;
    const CString key = Lowered(value);
    std::optional<size_t> prefix;
    for (size_t i = 0; i < entries.size(); ++i) {
        const CString entry = Lowered(entries[i]);
        if (entry == key)
            return i;
        if (!prefix && entry.starts_with(key))
            prefix = i;
    }
    return prefix;
}

std::optional<int32_t> ParseDialogInteger(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        bNegative = text[i] == '-';
        ++i;
    }
    const size_t digitsStart = i;
    int64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t { std::numeric_limits<int32_t>::max() } + 1)
            return std::nullopt;
        ++i;
    }
    if (i == digitsStart)
        return std::nullopt;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    if (bNegative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

CString IntegerMessage()
{
    return "Please enter an integer.";
}

CString IntegerRangeMessage(int32_t minimum, int32_t maximum)
{
    return "Please enter an integer between " + std::to_string(minimum) + " and " + std::to_string(maximum)
        + ".";
}

void FillComboList(CComboList& list, const std::vector<CString>& found, bool bClear, bool bStrip)
{
    if (bClear)
        list.Clear();
    for (const CString& name : found) {
        if (name.empty() || name.front() == '.')
            continue;
        list.AddString(bStrip ? name.substr(0, name.find('.')) : name);
    }
}
