#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// A set of bytes, looked up by table. Searching a text for any of them takes
// one step per character, where string_view's find_first_of and find_last_of
// search the whole set once for every character (a library call each time:
// the page generator searches short texts by the million).
class CCharSet {
public:
    static constexpr size_t npos = std::string_view::npos;

    consteval explicit CCharSet(std::string_view chars)
    {
        for (const char c : chars)
            m_bIn[static_cast<unsigned char>(c)] = true;
    }

    constexpr bool Contains(char c) const { return m_bIn[static_cast<unsigned char>(c)]; }

    // The position of the first character of text at or after pos that is in
    // the set, or npos.
    constexpr size_t FindFirstIn(std::string_view text, size_t pos = 0) const
    {
        for (; pos < text.size(); ++pos) {
            if (Contains(text[pos]))
                return pos;
        }
        return npos;
    }

    // The position of the last character of text that is in the set, or npos.
    constexpr size_t FindLastIn(std::string_view text) const
    {
        for (size_t pos = text.size(); pos > 0; --pos) {
            if (Contains(text[pos - 1]))
                return pos - 1;
        }
        return npos;
    }

private:
    std::array<bool, 256> m_bIn {};
};
