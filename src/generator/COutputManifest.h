#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

// The list of files a run wrote into the destination, kept there as
// ".pagewell-files" so that the next run can tell its own files from the
// user's: only a file named in it is ever removed by a clean run. Names are
// plain file names as they are on the disk (UTF-8); anything else in the list
// (a path, "..", the list itself) is ignored, so an edited list can never
// make a run remove a file elsewhere.
class COutputManifest {
public:
    static constexpr const char* kFileName = ".pagewell-files";

    // Reads the list's text; a text without our first line is an empty list.
    static COutputManifest Parse(std::string_view text);
    std::string Format() const;

    void Add(std::string_view name);
    bool Contains(std::string_view name) const
    {
        const std::vector<std::string>& names = GetNames();
        return std::binary_search(names.begin(), names.end(), name);
    }
    // Sorted, each name once.
    const std::vector<std::string>& GetNames() const;

    // The names of this list that the newer one no longer has.
    std::vector<std::string> Without(const COutputManifest& newer) const;

private:
    static bool IsOurs(std::string_view name);

    // Added in any order (a run adds every page's name), sorted when read.
    mutable std::vector<std::string> m_names;
    mutable bool m_bSorted = true;
};
