#include "checker/CSpellCheck.h"

#include <algorithm>

#include "checker/CSpelling.h"
#include "checker/SpellWords.h"
#include "model/CNode.h"
#include "platform/CCodePage.h"

namespace {

CTagPath PathOf(HTREEITEM hItem)
{
    std::vector<CString> tags;
    for (HTREEITEM h = hItem; h != nullptr; h = h->GetParent())
        tags.push_back(h->GetLabel());
    CTagPath path;
    for (auto tag = tags.rbegin(); tag != tags.rend(); ++tag)
        path = path.Append(*tag);
    return path;
}

// The unknown words of text, each once, in the order they first appear.
void AddUnknown(const CString& text, CSpelling& spelling, std::vector<std::string>& unknown)
{
    for (const CWordRange& range : FindSpellWords(std::string_view(text), CSpellCheck::IsStoredLetter)) {
        const std::string word
            = CCodePage::ToUtf8(std::string_view(text).substr(range.nStart, range.nLength));
        if (!spelling.IsCorrect(word) && std::find(unknown.begin(), unknown.end(), word) == unknown.end())
            unknown.push_back(word);
    }
}

} // namespace

bool CSpellCheck::IsStoredLetter(char ch)
{
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    // Š Œ Ž š œ ž Ÿ ª µ º and À to ÿ but × and ÷.
    switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x9A:
    case 0x9C:
    case 0x9E:
    case 0x9F:
    case 0xAA:
    case 0xB5:
    case 0xBA:
        return true;
    default:
        return c >= 0xC0 && c != 0xD7 && c != 0xF7;
    }
}

void CSpellCheck::Run(const CSiteTree& tree, CSpelling& spelling, std::vector<CFinding>& findings)
{
    for (HTREEITEM hItem = tree.GetRootItem(); hItem != nullptr; hItem = CSiteTree::GetNextPreOrder(hItem)) {
        const CNode* pNode = hItem->GetNode();
        if (pNode == nullptr)
            continue;
        std::vector<std::string> unknown;
        AddUnknown(pNode->m_strTitle, spelling, unknown);
        AddUnknown(pNode->m_strText, spelling, unknown);
        if (unknown.empty())
            continue;
        CString message = "unknown word" + CString(unknown.size() == 1 ? "" : "s") + " ("
            + spelling.GetDictionary() + "):";
        for (const std::string& word : unknown)
            message += " " + CCodePage::FromUtf8(word);
        findings.push_back({ ESeverity::Warning, PathOf(hItem), message,
            "correct the spelling, or add the word to your list (" + CSpelling::PersonalWordsPath() + ")" });
    }
}
