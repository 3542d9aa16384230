#include "platform/CPathRules.h"

#include "platform/CCharSet.h"
#include "platform/CCodePage.h"

namespace {

constexpr CCharSet kSeparators("\\/");
constexpr CCharSet kSeparatorOrNul(std::string_view("\\/\0", 3));

} // namespace

size_t CPathRules::FindLastSeparator(std::string_view path)
{
    return kSeparators.FindLastIn(path);
}

bool CPathRules::EndsWithSeparator(std::string_view path)
{
    return !path.empty() && IsSeparator(path.back());
}

bool CPathRules::BeginsWithSeparator(std::string_view path)
{
    return !path.empty() && IsSeparator(path.front());
}

CString CPathRules::GetFileName(std::string_view path)
{
    const size_t pos = FindLastSeparator(path);
    return CString(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

CString CPathRules::JoinPath(const CString& folder, const CString& name)
{
    if (EndsWithSeparator(folder))
        return folder + name;
    return folder + kSeparator + name;
}

CString CPathRules::AppendName(const CString& folder, const CString& name)
{
    return folder + kSeparator + name;
}

std::string CPathRules::ToNative(std::string_view path)
{
    std::string native = CCodePage::ToUtf8(path);
    for (char& c : native) {
        if (c == '\\')
            c = '/';
    }
    return native;
}

bool CPathRules::IsPlainFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return kSeparatorOrNul.FindFirstIn(name) == CCharSet::npos;
}

bool CPathRules::IsInsideWorkspace(std::string_view path)
{
    if (BeginsWithSeparator(path) || path.find('\0') != std::string_view::npos)
        return false;
    size_t start = 0;
    for (;;) {
        const size_t end = kSeparators.FindFirstIn(path, start);
        if (path.substr(start, end == std::string_view::npos ? end : end - start) == "..")
            return false;
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

bool CPathRules::IsWithinFolder(std::string_view path, std::string_view folder)
{
    if (folder.empty() || !path.starts_with(folder))
        return false;
    return path.size() == folder.size() || folder.back() == '/' || path[folder.size()] == '/';
}
