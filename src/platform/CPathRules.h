#pragma once

#include <string>
#include <string_view>

#include "platform/CString.h"

// How the program's paths meet the Linux file system. Paths the program builds
// join their parts with '/'; a path split or tested at a separator accepts
// both '\' (projects and templates made on Windows) and '/'. Project texts are
// Windows-1252 and reach the file system as UTF-8.
class CPathRules {
public:
    static constexpr char kSeparator = '/';

    static bool IsSeparator(char c) { return c == '\\' || c == '/'; }
    // The position of the last '\' or '/', or npos.
    static size_t FindLastSeparator(std::string_view path);
    static bool EndsWithSeparator(std::string_view path);
    static bool BeginsWithSeparator(std::string_view path);
    // The part after the last separator (all of path when there is none).
    static CString GetFileName(std::string_view path);

    // folder + "/" + name, with no separator added when folder already ends
    // with one (page files in the destination).
    static CString JoinPath(const CString& folder, const CString& name);
    // folder + "/" + name, the separator always inserted (copied images).
    static CString AppendName(const CString& folder, const CString& name);

    // The native (UTF-8) name of a path, every '\' read as '/'. The path is
    // not normalised otherwise.
    static std::string ToNative(std::string_view path);

    // A name that stays inside the folder it is joined to: not empty, no
    // separator, not "." or "..", no NUL character (the system would end the
    // name there).
    static bool IsPlainFileName(std::string_view name);
    // Whether a path as the program builds it stays below the current
    // directory: not absolute (no leading separator), no ".." component and
    // no NUL character. Everything the program reads from a project's
    // workspace on a project's say goes through this test.
    static bool IsInsideWorkspace(std::string_view path);
    // Whether the absolute, resolved path is folder (absolute, resolved) or
    // lies below it.
    static bool IsWithinFolder(std::string_view path, std::string_view folder);
};
