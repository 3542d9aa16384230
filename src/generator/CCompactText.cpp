#include "generator/CCompactText.h"

#include <algorithm>

void CCompactText::AppendNumber(std::string& out, uint64_t value)
{
    for (; value >= 0x80; value >>= 7)
        out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    out.push_back(static_cast<char>(value));
}

bool CCompactText::ReadNumber(std::string_view& in, uint64_t& value)
{
    value = 0;
    for (unsigned shift = 0; shift < 64; shift += 7) {
        if (in.empty())
            return false;
        const auto byte = static_cast<unsigned char>(in.front());
        in.remove_prefix(1);
        value |= static_cast<uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

void CCompactText::AppendSigned(std::string& out, int64_t value)
{
    const auto bits = static_cast<uint64_t>(value);
    AppendNumber(out, value < 0 ? ~(bits << 1) : bits << 1);
}

bool CCompactText::ReadSigned(std::string_view& in, int64_t& value)
{
    uint64_t bits = 0;
    if (!ReadNumber(in, bits))
        return false;
    value = static_cast<int64_t>((bits & 1) != 0 ? ~(bits >> 1) : bits >> 1);
    return true;
}

// The text becomes the most recent; the one at index (or the oldest) goes.
void CCompactText::MakeRecent(size_t index, std::string_view text)
{
    std::string moved = index < kRecent ? std::move(m_recent[index]) : std::string();
    const size_t from = std::min(index, kRecent - 1);
    std::move_backward(m_recent.begin(), m_recent.begin() + from, m_recent.begin() + from + 1);
    if (index < kRecent)
        m_recent[0] = std::move(moved);
    else
        m_recent[0] = text;
}

void CCompactText::Append(std::string& out, std::string_view text)
{
    size_t best = 0;
    size_t shared = 0;
    for (size_t i = 0; i < kRecent; ++i) {
        const std::string& recent = m_recent[i];
        if (recent == text) {
            AppendNumber(out, i);
            MakeRecent(i, text);
            return;
        }
        const size_t common = static_cast<size_t>(
            std::mismatch(recent.begin(), recent.end(), text.begin(), text.end()).first - recent.begin());
        if (common > shared) {
            best = i;
            shared = common;
        }
    }
    AppendNumber(out, kRecent + best);
    AppendNumber(out, shared);
    AppendNumber(out, text.size() - shared);
    out.append(text.substr(shared));
    MakeRecent(kRecent, text);
}

bool CCompactText::Read(std::string_view& in, std::string& text, size_t nMaxSize)
{
    uint64_t code = 0;
    if (!ReadNumber(in, code) || code >= 2 * kRecent)
        return false;
    if (code < kRecent) {
        if (m_recent[code].size() > nMaxSize)
            return false;
        text = m_recent[code];
        MakeRecent(code, text);
        return true;
    }
    const std::string& base = m_recent[code - kRecent];
    uint64_t shared = 0;
    uint64_t rest = 0;
    if (!ReadNumber(in, shared) || !ReadNumber(in, rest) || shared > base.size() || rest > in.size()
        || shared + rest > nMaxSize)
        return false;
    text.assign(base, 0, shared);
    text.append(in.substr(0, rest));
    in.remove_prefix(rest);
    MakeRecent(kRecent, text);
    return true;
}
