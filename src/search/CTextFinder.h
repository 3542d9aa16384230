#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/CString.h"

// One pattern made ready for matching Windows-1252 texts: with or without
// regard to case (folded as the platform lowers the code page's letters),
// and optionally only as a whole word. Matching skips ahead by the
// Horspool rule, so a long text costs about its length divided by the
// pattern's.
class CTextFinder {
public:
    CTextFinder(std::string_view pattern, bool bMatchCase, bool bWholeWords);

    // The offset of the first match at or after nFrom, or npos. An empty
    // pattern matches nothing.
    size_t Find(std::string_view text, size_t nFrom = 0) const;
    // Whether a match stands exactly at nOffset.
    bool MatchesAt(std::string_view text, size_t nOffset) const;
    size_t GetLength() const { return m_strPattern.size(); }

    // Letters of the code page, digits and "_".
    static bool IsWordCharacter(unsigned char c);

    static constexpr size_t npos = std::string_view::npos;

private:
    bool EqualAt(const unsigned char* p) const;
    bool IsWholeWordAt(std::string_view text, size_t nOffset) const;

    CString m_strPattern; // folded
    std::array<unsigned char, 256> m_fold {};
    std::array<size_t, 256> m_skip {};
    bool m_bWholeWords;
};
