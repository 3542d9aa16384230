#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// The words of a title or body text that spelling looks at: runs of letters
// (an apostrophe inside a word belongs to it), leaving out HTML tags with
// their attribute values, character references and the words they touch
// ("Caf&eacute;"), addresses (http://..., www...., name@host), bracketed
// macros such as [$i] and [TITLE], and words with digits or of one letter.
struct CWordRange {
    size_t nStart;
    size_t nLength;
};

// isLetter tells the letters of the text's characters (the code page's for
// stored text, Unicode's for the editor's).
template <typename Char, typename IsLetter>
std::vector<CWordRange> FindSpellWords(std::basic_string_view<Char> text, IsLetter isLetter)
{
    std::vector<CWordRange> words;
    const size_t n = text.size();
    const auto isSpace = [](Char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const auto skipToken = [&](size_t i) {
        while (i < n && !isSpace(text[i]) && text[i] != '<')
            ++i;
        return i;
    };
    size_t i = 0;
    while (i < n) {
        const Char c = text[i];
        if (c == '<') {
            // A tag with its attributes (and values) or a comment.
            while (i < n && text[i] != '>')
                ++i;
            ++i;
            continue;
        }
        if (c == '[') {
            const size_t close = text.find(Char(']'), i);
            const bool bMacro = close != std::basic_string_view<Char>::npos && close - i < 64;
            i = bMacro ? close + 1 : i + 1;
            continue;
        }
        if (c >= '0' && c <= '9') {
            // "4th": a word that starts with a digit is no word to spell.
            while (i < n && (isLetter(text[i]) || (text[i] >= '0' && text[i] <= '9')))
                ++i;
            continue;
        }
        if (!isLetter(c) && c != '&') {
            ++i;
            continue;
        }
        // A word: letters and inner apostrophes; a reference, a digit, "@",
        // "://" or "www." makes the whole token one to leave alone.
        const size_t start = i;
        bool bSkip = false;
        bool bReference = false;
        for (; i < n; ++i) {
            const Char d = text[i];
            if (d == '&')
                bSkip = bReference = true;
            else if (bReference && d == ';')
                bReference = false;
            else if ((d >= '0' && d <= '9') || (bReference && d == '#'))
                bSkip = true;
            else if (!isLetter(d) && d != '\'')
                break;
        }
        if (i < n && (text[i] == ':' || text[i] == '@' || text[i] == '.' || text[i] == '/')) {
            const size_t end = skipToken(i);
            const std::basic_string_view<Char> token = text.substr(start, end - start);
            const auto has = [&](std::string_view what) {
                for (size_t k = 0; k + what.size() <= token.size(); ++k) {
                    size_t m = 0;
                    while (m < what.size() && token[k + m] == Char(what[m]))
                        ++m;
                    if (m == what.size())
                        return true;
                }
                return false;
            };
            if (has("://") || has("@") || has("www.") || has("mailto:")) {
                i = end;
                continue;
            }
        }
        size_t end = i;
        while (end > start && text[end - 1] == '\'')
            --end;
        if (!bSkip && end - start > 1)
            words.push_back({ start, end - start });
    }
    return words;
}
