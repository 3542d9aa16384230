#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 digests as lowercase hex, the publisher's strong hash of a file.
class CSha256 {
public:
    static std::string HexOf(std::string_view bytes);
    // The digest and size of a regular file; false when it cannot be read.
    static bool HexOfFile(const std::string& path, std::string& hex, uint64_t& size);
};
