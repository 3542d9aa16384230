#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A fast 128-bit hash of a stream of bytes, to tell whether inputs changed
// (not for security: it resists accidents, not attackers). Words of 16
// bytes are folded in by 64 x 64 -> 128-bit multiplications.
class CHash128 {
public:
    void Add(std::string_view bytes);
    // A number or a string with its length, so that neighbours cannot run
    // into each other.
    void AddNumber(uint64_t value);
    void AddString(std::string_view text);
    // The hash of everything added so far, as 32 hexadecimal digits.
    std::string GetHex() const;

private:
    void AddBlock(const unsigned char* block);

    uint64_t m_a = 0x243F6A8885A308D3ULL;
    uint64_t m_b = 0x13198A2E03707344ULL;
    uint64_t m_nTotal = 0;
    std::array<unsigned char, 16> m_tail {};
    size_t m_nTail = 0;
};
