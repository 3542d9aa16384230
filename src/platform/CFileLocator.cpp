#include "platform/CFileLocator.h"

#include <algorithm>
#include <array>
#include <climits>
#include <unistd.h>

#include "platform/CCodePage.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"

namespace {

constexpr std::array<std::string_view, 5> kResourceFolders
    = { "templates", "images", "lineimages", "bullets", "background" };

// The Windows-1252 form of a native name, lowered for comparison.
CString Folded(std::string_view nativeName)
{
    CString text = CCodePage::FromUtf8(nativeName);
    CCodePage::CharLower(text);
    return text;
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::vector<std::string> SplitNative(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool IsPresent(const char* path)
{
    return path[0] != '\0' && ::access(path, F_OK) == 0;
}

} // namespace

CFileLocator::CFileLocator(CFileSystem& files, std::string shareDir)
    : m_files(files)
    , m_strShareDir(std::move(shareDir))
{ }

bool CFileLocator::LiesOutside(const CString& path) const
{
    return !CPathRules::IsInsideWorkspace(path) || LeadsOutside(LocateForRead(path));
}

bool CFileLocator::LeadsOutside(const std::string& native) const
{
    // A link in images/ may point anywhere on the machine: what counts is
    // where it leads, compared with where the workspace and the defaults are.
    const std::string target = m_files.RealPath(native);
    if (target.empty())
        return false;
    if (CPathRules::IsWithinFolder(target, m_files.RealPath(".")))
        return false;
    return m_strShareDir.empty() || !CPathRules::IsWithinFolder(target, m_files.RealPath(m_strShareDir));
}

std::string CFileLocator::DefaultShareDir()
{
    const std::string installed = PAGEWELL_INSTALL_SHARE_DIR;
    const std::string source = PAGEWELL_SOURCE_SHARE_DIR;
    // The installed program lives in <prefix>/bin beside <prefix>/share/pagewell.
    std::array<char, PATH_MAX> exe {};
    const ssize_t length = ::readlink("/proc/self/exe", exe.data(), exe.size() - 1);
    const std::string exePath(exe.data(), length > 0 ? static_cast<size_t>(length) : 0);
    // An installation moved to another prefix still finds its own copy.
    const size_t binCut = exePath.rfind("/bin/");
    if (binCut != std::string::npos && exePath.find('/', binCut + 5) == std::string::npos) {
        const std::string beside = exePath.substr(0, binCut) + "/share/pagewell";
        if (IsPresent(beside.c_str()))
            return beside;
    }
    const size_t cut = installed.rfind("/share/");
    const std::string prefix = cut == std::string::npos ? std::string() : installed.substr(0, cut);
    if (!prefix.empty() && exePath.rfind(prefix + "/bin/", 0) == 0 && IsPresent(installed.c_str()))
        return installed;
    if (IsPresent(source.c_str()))
        return source;
    return installed;
}

bool CFileLocator::IsResourceFolder(std::string_view name)
{
    return std::any_of(kResourceFolders.begin(), kResourceFolders.end(),
        [name](std::string_view folder) { return CCodePage::CompareNoCase(folder, name) == 0; });
}

bool CFileLocator::EqualNoCase(std::string_view a, std::string_view b)
{
    return Folded(a) == Folded(b);
}

bool CFileLocator::MatchesNoCase(std::string_view name, std::string_view pattern)
{
    const CString text = Folded(name);
    CString mask(pattern);
    CCodePage::CharLower(mask);
    // Classic wildcard match with one back-tracking point for the last '*'.
    size_t t = 0, m = 0, star = CString::npos, mark = 0;
    while (t < text.size()) {
        if (m < mask.size() && (mask[m] == '?' || mask[m] == text[t])) {
            ++t, ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            star = m++, mark = t;
        } else if (star != CString::npos) {
            m = star + 1, t = ++mark;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

std::string CFileLocator::FindNoCase(const std::string& folder, const std::string& name) const
{
    std::vector<std::string> names;
    if (!m_files.ListFolder(folder.empty() ? "." : folder, names))
        return {};
    std::sort(names.begin(), names.end());
    const CString wanted = Folded(name);
    for (const std::string& entry : names) {
        if (Folded(entry) == wanted)
            return entry;
    }
    return {};
}

void CFileLocator::ApplyDefaultFolder(std::vector<std::string>& parts, std::string& base) const
{
    if (!base.empty() || parts.empty() || m_strShareDir.empty() || !IsResourceFolder(parts.front()))
        return;
    if (m_files.IsDirectory(parts.front()))
        return;
    const std::string present = FindNoCase("", parts.front());
    if (!present.empty() && m_files.IsDirectory(present))
        return;
    CString folder = parts.front();
    CCodePage::AsciiLower(folder);
    base = Join(m_strShareDir, folder);
    parts.erase(parts.begin());
}

std::string CFileLocator::ResolveParts(std::string base, const std::vector<std::string>& parts) const
{
    std::string resolved = std::move(base);
    for (const std::string& part : parts) {
        const std::string exact = Join(resolved, part);
        if (part == "." || part == ".." || m_files.Exists(exact)) {
            resolved = exact;
            continue;
        }
        const std::string found = FindNoCase(resolved, part);
        resolved = found.empty() ? exact : Join(resolved, found);
    }
    return resolved;
}

std::string CFileLocator::LocateForRead(const CString& path) const
{
    const std::string native = CPathRules::ToNative(path);
    if (native.empty() || m_files.Exists(native))
        return native;
    std::vector<std::string> parts = SplitNative(native);
    std::string base = native.front() == '/' ? "/" : "";
    ApplyDefaultFolder(parts, base);
    return ResolveParts(base, parts);
}

std::vector<CString> CFileLocator::ListMatching(const CString& pattern) const
{
    const size_t cut = CPathRules::FindLastSeparator(pattern);
    const CString folder = cut == CString::npos ? CString() : pattern.substr(0, cut);
    const CString mask = cut == CString::npos ? pattern : pattern.substr(cut + 1);
    const std::string native = folder.empty() ? std::string(".") : LocateForRead(folder);
    std::vector<std::string> names;
    std::vector<CString> result;
    if (!m_files.ListFolder(native, names))
        return result;
    for (const std::string& name : names) {
        if (MatchesNoCase(name, mask) && !m_files.IsDirectory(Join(native, name)))
            result.push_back(CCodePage::FromUtf8(name));
    }
    std::sort(result.begin(), result.end());
    return result;
}
