#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "generator/CPictureProcessor.h"

// The published files of pictures made by earlier runs, in a folder of the
// user's cache, each under a key of the picture's bytes, its published name
// and the options: a picture that did not change is not converted again.
// Entries are written whole or not at all; a damaged one reads as missing.
class CPictureCache {
public:
    // folder: where the entries go; empty: no cache.
    explicit CPictureCache(std::string folder = {})
        : m_strFolder(std::move(folder))
    { }

    bool IsOn() const { return !m_strFolder.empty(); }
    static std::string MakeKey(std::string_view bytes, std::string_view name, const CPictureOptions& options);
    std::optional<CPicture> Load(const std::string& key) const;
    void Save(const std::string& key, const CPicture& picture) const;

    // An entry as bytes, and back (none when damaged).
    static std::string Serialize(const CPicture& picture);
    static std::optional<CPicture> Parse(std::string_view bytes);

private:
    std::string m_strFolder;
};
