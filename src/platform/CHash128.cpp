#include "platform/CHash128.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint64_t kPrime1 = 0xA0761D6478BD642FULL;
constexpr uint64_t kPrime2 = 0xE7037ED1A0B428DBULL;
constexpr uint64_t kPrime3 = 0x8EBC6AF09C88C6E3ULL;

// GCC and Clang's 128-bit integers (the multiplication is one instruction).
__extension__ typedef unsigned __int128 UInt128;

uint64_t Fold(uint64_t x, uint64_t y)
{
    const UInt128 product = static_cast<UInt128>(x) * y;
    return static_cast<uint64_t>(product) ^ static_cast<uint64_t>(product >> 64);
}

uint64_t LoadWord(const unsigned char* bytes)
{
    uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

} // namespace

void CHash128::AddBlock(const unsigned char* block)
{
    const uint64_t low = LoadWord(block);
    const uint64_t high = LoadWord(block + 8);
    // Each lane takes both words, and the other lane's state, so that a word
    // that cancels one product still changes the other.
    const uint64_t a = Fold(m_a ^ low ^ kPrime1, high ^ m_b ^ kPrime2);
    const uint64_t b = Fold(m_b ^ high ^ kPrime3, low ^ m_a ^ kPrime1) + (m_a << 7 | m_a >> 57);
    m_a = a;
    m_b = b;
}

void CHash128::Add(std::string_view bytes)
{
    m_nTotal += bytes.size();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t left = bytes.size();
    if (m_nTail > 0) {
        const size_t take = std::min(left, m_tail.size() - m_nTail);
        std::memcpy(m_tail.data() + m_nTail, p, take);
        m_nTail += take;
        p += take;
        left -= take;
        if (m_nTail < m_tail.size())
            return;
        AddBlock(m_tail.data());
        m_nTail = 0;
    }
    for (; left >= 16; p += 16, left -= 16)
        AddBlock(p);
    std::memcpy(m_tail.data(), p, left);
    m_nTail = left;
}

void CHash128::AddNumber(uint64_t value)
{
    unsigned char bytes[8];
    std::memcpy(bytes, &value, sizeof bytes);
    Add(std::string_view(reinterpret_cast<const char*>(bytes), sizeof bytes));
}

void CHash128::AddString(std::string_view text)
{
    AddNumber(text.size());
    Add(text);
}

std::string CHash128::GetHex() const
{
    CHash128 last = *this;
    std::array<unsigned char, 16> block {};
    std::memcpy(block.data(), m_tail.data(), m_nTail);
    block[15] = static_cast<unsigned char>(m_nTail);
    last.AddBlock(block.data());
    const uint64_t a = Fold(last.m_a ^ m_nTotal, kPrime2) ^ last.m_b;
    const uint64_t b = Fold(last.m_b ^ kPrime3, m_nTotal ^ kPrime1) ^ last.m_a;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const uint64_t part : { a, b }) {
        for (int shift = 60; shift >= 0; shift -= 4)
            hex.push_back(kDigits[(part >> shift) & 0xF]);
    }
    return hex;
}
