#include "search/CTextFinder.h"

#include <cstring>

#include "platform/CCodePage.h"

namespace {

std::array<unsigned char, 256> MakeFoldTable(bool bMatchCase)
{
    CString bytes(256, '\0');
    for (size_t i = 0; i < 256; ++i)
        bytes[i] = static_cast<char>(i);
    if (!bMatchCase)
        CCodePage::CharLower(bytes);
    std::array<unsigned char, 256> table {};
    for (size_t i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(bytes[i]);
    return table;
}

} // namespace

CTextFinder::CTextFinder(std::string_view pattern, bool bMatchCase, bool bWholeWords)
    : m_fold(MakeFoldTable(bMatchCase))
    , m_bWholeWords(bWholeWords)
{
    m_strPattern.reserve(pattern.size());
    for (char c : pattern)
        m_strPattern += static_cast<char>(m_fold[static_cast<unsigned char>(c)]);
    const size_t n = m_strPattern.size();
    // The skip of a folded byte; a text byte is folded through the table
    // once here rather than at every step.
    std::array<size_t, 256> folded {};
    folded.fill(n);
    for (size_t i = 0; i + 1 < n; ++i)
        folded[static_cast<unsigned char>(m_strPattern[i])] = n - 1 - i;
    for (size_t b = 0; b < 256; ++b)
        m_skip[b] = folded[m_fold[b]];
}

bool CTextFinder::IsWordCharacter(unsigned char c)
{
    if ((c >= '0' && c <= '9') || c == '_')
        return true;
    // A letter is a byte that lowering changes or that a capital lowers to.
    static const std::array<bool, 256> kLetters = [] {
        std::array<bool, 256> letters {};
        const std::array<unsigned char, 256> fold = MakeFoldTable(false);
        for (size_t b = 0; b < 256; ++b) {
            if (fold[b] != b) {
                letters[b] = true;
                letters[fold[b]] = true;
            }
        }
        // Letters without a capital in the code page: sharp s, f with hook,
        // the ordinal indicators and micro.
        for (unsigned char b : { 0xDF, 0x83, 0xAA, 0xBA, 0xB5 })
            letters[b] = true;
        return letters;
    }();
    return kLetters[c];
}

bool CTextFinder::EqualAt(const unsigned char* p) const
{
    const auto* q = reinterpret_cast<const unsigned char*>(m_strPattern.data());
    for (size_t i = 0; i < m_strPattern.size(); ++i) {
        if (m_fold[p[i]] != q[i])
            return false;
    }
    return true;
}

bool CTextFinder::IsWholeWordAt(std::string_view text, size_t nOffset) const
{
    if (!m_bWholeWords)
        return true;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    if (nOffset > 0 && IsWordCharacter(p[nOffset - 1]))
        return false;
    const size_t nEnd = nOffset + m_strPattern.size();
    return nEnd >= text.size() || !IsWordCharacter(p[nEnd]);
}

bool CTextFinder::MatchesAt(std::string_view text, size_t nOffset) const
{
    const size_t n = m_strPattern.size();
    if (n == 0 || nOffset > text.size() || text.size() - nOffset < n)
        return false;
    return EqualAt(reinterpret_cast<const unsigned char*>(text.data()) + nOffset)
        && IsWholeWordAt(text, nOffset);
}

size_t CTextFinder::Find(std::string_view text, size_t nFrom) const
{
    const size_t n = m_strPattern.size();
    if (n == 0 || nFrom > text.size() || text.size() - nFrom < n)
        return npos;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto nLast = static_cast<unsigned char>(m_strPattern[n - 1]);
    const size_t nEnd = text.size() - n; // the last possible start
    size_t at = nFrom;
    while (at <= nEnd) {
        const unsigned char c = p[at + n - 1];
        if (m_fold[c] == nLast && EqualAt(p + at) && IsWholeWordAt(text, at))
            return at;
        at += m_skip[c];
    }
    return npos;
}
