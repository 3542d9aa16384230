#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// The record a publish keeps in the remote folder (".pagewell-published"):
// every file Pagewell put there with its size and SHA-256, and the files a
// publish is about to send or remove ("pending": ours, but what the remote
// holds under that name is not known). One line each: "HASH SIZE NAME", or
// "- - NAME" when pending.
class CPublishedManifest {
public:
    static constexpr const char* kFileName = ".pagewell-published";

    struct CEntry {
        uint64_t nSize = 0;
        // Empty when pending.
        std::string strHash;
        bool IsPending() const { return strHash.empty(); }
    };

    // Reads a record; false (with a message naming the offending line) for
    // a text that is not one, or that names anything but a plain file of the
    // folder: a path, "..", an absolute name.
    static bool Parse(std::string_view text, CPublishedManifest& manifest, std::string& error);
    std::string Format() const;

    // Whether name is a plain file name of a published folder: not empty, no
    // separator or control character, not "." or "..", not one of the
    // publisher's own files.
    static bool IsPlainName(std::string_view name);

    std::map<std::string, CEntry, std::less<>> m_entries;
};
