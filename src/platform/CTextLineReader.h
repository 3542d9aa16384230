#pragma once

#include <string>
#include <string_view>

// Reads the contents of a text file as the C run-time's text mode and fgets
// with a count of 260 read it: a CR directly before a LF is dropped, and a
// line comes in pieces of at most 259 characters, its line end counting as one
// of them. A line of exactly 259 characters therefore gives a piece of 259
// characters and then a piece holding only its line end.
class CTextLineReader {
public:
    static constexpr size_t kMaxPiece = 259;

    explicit CTextLineReader(std::string_view contents)
        : m_contents(contents)
    { }

    // The next piece; false at the end of the contents.
    bool ReadLine(std::string& piece);

private:
    std::string_view m_contents;
    size_t m_nPos = 0;
};
