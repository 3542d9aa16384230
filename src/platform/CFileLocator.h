#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/CString.h"

class CFileSystem;

// Finds the files the program reads below the current directory, as a file
// system that ignores letter case would: a file whose exact name does not
// exist is looked up without regard to case, one path component at a time
// (the exact name wins when it exists). The resource folders ("templates",
// "images", "lineimages", "bullets", "background") fall back to the installed
// default folder of that name when the current directory has no such folder
// at all. Paths are given as the program builds them (Windows-1252, '\' or
// '/') and come back as native names to open.
class CFileLocator {
public:
    // shareDir: the folder holding the default resource folders; empty for none.
    CFileLocator(CFileSystem& files, std::string shareDir);

    // The installed default workspace: the installed copy, or the
    // repository's copy when the program runs from its build tree.
    static std::string DefaultShareDir();

    // The folder of the default resource folders given at construction.
    const std::string& GetShareDir() const { return m_strShareDir; }
    // The native path to open for reading path.
    std::string LocateForRead(const CString& path) const;

    // The file names (Windows-1252) in the folder of pattern whose names match
    // its last component without regard to case; '*' matches any run of
    // characters and '?' any one. Sorted; empty when the folder is missing.
    std::vector<CString> ListMatching(const CString& pattern) const;

    // Whether path must not be read on a project's say: it leaves the
    // workspace by its name (CPathRules::IsInsideWorkspace), or the file it
    // finds, its links followed, lies neither in the current directory nor
    // in the installed defaults. A file that does not exist is not outside:
    // reading it fails as for any missing file.
    bool LiesOutside(const CString& path) const;
    // As LiesOutside for a native path LocateForRead gave.
    bool LeadsOutside(const std::string& native) const;

    static bool IsResourceFolder(std::string_view name);
    // Wildcard match without regard to the case of Windows-1252 letters.
    static bool MatchesNoCase(std::string_view name, std::string_view pattern);
    static bool EqualNoCase(std::string_view a, std::string_view b);

private:
    // Splits off a leading resource folder that the current directory lacks:
    // base becomes its default folder and the component is removed.
    void ApplyDefaultFolder(std::vector<std::string>& parts, std::string& base) const;
    std::string ResolveParts(std::string base, const std::vector<std::string>& parts) const;
    // The entry of folder equal to name without regard to case, or "".
    std::string FindNoCase(const std::string& folder, const std::string& name) const;

    CFileSystem& m_files;
    std::string m_strShareDir;
};
