#include "generator/CTextPreparer.h"

#include <algorithm>

#include "generator/CContentsWriter.h"
#include "platform/CCharSet.h"

CString CTextPreparer::CutAndStrip(std::string_view text, bool bCutLastWord)
{
    if (bCutLastWord) {
        static constexpr CCharSet kWordEnd(" \r\n");
        const size_t last = kWordEnd.FindLastIn(text);
        text = last == CCharSet::npos ? std::string_view() : text.substr(0, last + 1);
    }
    // Every CR is dropped; the runs between them are copied whole.
    CString result;
    result.reserve(text.size());
    for (size_t start = 0; start < text.size();) {
        const size_t cr = std::min(text.find('\r', start), text.size());
        result.append(text.substr(start, cr - start));
        start = cr + 1;
    }
    return result;
}

CString CTextPreparer::PrepareText(std::string_view text, bool bCutLastWord, bool bExpandContents) const
{
    CString result = CutAndStrip(text, bCutLastWord);
    if (bExpandContents && result.find("[$") != CString::npos)
        return ExpandContents(result);
    return result;
}

CString CTextPreparer::PrepareLinkName(std::string_view title) const
{
    CString name = PrepareText(title, true, true);
    name.erase(std::min(name.find('\n'), name.size()));
    const size_t end = name.find_last_not_of(' ');
    name.erase(end == CString::npos ? 0 : end + 1);
    // A link without a text would be announced as nothing at all: a title
    // that is only the URL names the link by its URL.
    if (name.empty()) {
        const size_t last = title.find_last_of(" \r\n");
        name = CString(last == std::string_view::npos ? title : title.substr(last + 1));
    }
    return name;
}

CString CTextPreparer::ExpandContents(std::string_view text) const
{
    CString out;
    size_t pos = 0;
    while (pos < text.size()) {
        if (text.substr(pos, 2) != "[$") {
            out += text[pos++];
            continue;
        }
        const char next = pos + 2 < text.size() ? text[pos + 2] : '\0';
        if (next == '$') {
            out += "[$";
            pos += 3;
        } else if (next == 'i' || next == 'I') {
            pos += 3;
            if (pos < text.size() && text[pos] == ']')
                ++pos;
            if (m_pContents != nullptr)
                m_pContents->WriteContents(out);
        } else {
            pos += 2;
        }
    }
    return out;
}
