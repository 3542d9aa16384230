#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CHash128.h"

// The list of files a run wrote into the destination, kept there as
// ".pagewell-files" so that the next run can tell its own files from the
// user's: only a file named in it, whose bytes are still those recorded
// for it, is ever removed by a clean run. Names are plain file names as they
// are on the disk (UTF-8); anything else in the list (a path, "..", the list
// itself) is ignored, so an edited list can never make a run remove a file
// elsewhere.
//
// Each line is "SIZE HASH NAME": the size and CHash128 of the bytes written.
// A list of the first version holds names alone; their bytes are unknown
// (that version also listed files it had only found equal), so such an
// entry is read as "- NAME" and never licenses removing a file.
class COutputManifest {
public:
    static constexpr const char* kFileName = ".pagewell-files";

    // What a file held when a run wrote it.
    struct CDigest {
        uint64_t nSize = 0;
        std::string strHash;
        bool operator==(const CDigest&) const = default;
        static CDigest Of(std::string_view bytes);
    };
    // A digest made from bytes given in pieces.
    class CDigester {
    public:
        void Add(std::string_view bytes)
        {
            m_hash.Add(bytes);
            m_nSize += bytes.size();
        }
        CDigest Get() const { return { m_nSize, m_hash.GetHex() }; }
        uint64_t GetSize() const { return m_nSize; }

    private:
        CHash128 m_hash;
        uint64_t m_nSize = 0;
    };
    struct CEntry {
        std::string strName;
        std::optional<CDigest> digest;
    };

    // Reads the list's text; a text without one of our first lines is an
    // empty list.
    static COutputManifest Parse(std::string_view text);
    std::string Format() const;

    // A name added twice keeps its first entry.
    void Add(std::string_view name, std::optional<CDigest> digest = std::nullopt);
    bool Contains(std::string_view name) const { return Find(name) != nullptr; }
    const CEntry* Find(std::string_view name) const;
    // Sorted by name, each name once.
    const std::vector<CEntry>& GetEntries() const;
    std::vector<std::string> GetNames() const;

    // The entries of this list whose names the newer one no longer has.
    std::vector<CEntry> Without(const COutputManifest& newer) const;

private:
    static bool IsOurs(std::string_view name);
    void AddLine(std::string_view line);

    // Added in any order (a run adds every page's name), sorted when read.
    mutable std::vector<CEntry> m_entries;
    mutable bool m_bSorted = true;
};
