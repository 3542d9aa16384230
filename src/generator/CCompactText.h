#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Writes and reads a sequence of texts (a run's log lines, the paths of the
// files it looked at) in few bytes: a text equal to one of the last few is
// its number among them, any other the length it shares with the closest
// of them and the rest. The log of a large run repeats its template lines
// and starts every page line with the destination. Numbers are stored in
// 7-bit groups.
class CCompactText {
public:
    static void AppendNumber(std::string& out, uint64_t value);
    // Reads a number from the front of in; false at the end or on a number
    // that does not fit.
    static bool ReadNumber(std::string_view& in, uint64_t& value);
    // A signed number, small when near zero either way.
    static void AppendSigned(std::string& out, int64_t value);
    static bool ReadSigned(std::string_view& in, int64_t& value);

    void Append(std::string& out, std::string_view text);
    // Reads the next text into text; false when in does not hold one or it
    // would be longer than nMaxSize.
    bool Read(std::string_view& in, std::string& text, size_t nMaxSize);

private:
    void MakeRecent(size_t index, std::string_view text);

    static constexpr size_t kRecent = 8;
    std::array<std::string, kRecent> m_recent;
};
