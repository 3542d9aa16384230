#include "publisher/CPublishedManifest.h"

#include <charconv>

#include "publisher/IRemoteFolder.h"

namespace {

constexpr std::string_view kFirstLine = "pagewell-published 1";

bool IsHash(std::string_view text)
{
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// One "HASH SIZE NAME" line into manifest; false when it is not one.
bool ParseLine(std::string_view line, CPublishedManifest& manifest)
{
    const size_t first = line.find(' ');
    const size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos)
        return false;
    const std::string_view hash = line.substr(0, first);
    const std::string_view size = line.substr(first + 1, second - first - 1);
    const std::string_view name = line.substr(second + 1);
    if (!CPublishedManifest::IsPlainName(name))
        return false;
    CPublishedManifest::CEntry entry;
    if (hash == "-" && size == "-") {
        manifest.m_entries[std::string(name)] = entry;
        return true;
    }
    const auto [end, ec] = std::from_chars(size.data(), size.data() + size.size(), entry.nSize);
    if (!IsHash(hash) || ec != std::errc() || end != size.data() + size.size())
        return false;
    entry.strHash = hash;
    manifest.m_entries[std::string(name)] = entry;
    return true;
}

} // namespace

bool CPublishedManifest::IsPlainName(std::string_view name)
{
    if (name.empty() || name == "." || name == ".." || name == kFileName
        || name.starts_with(IRemoteFolder::kTempPrefix))
        return false;
    for (const char c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < ' ' || c == '\x7f')
            return false;
    }
    return true;
}

bool CPublishedManifest::Parse(std::string_view text, CPublishedManifest& manifest, std::string& error)
{
    manifest = CPublishedManifest();
    size_t pos = text.find('\n');
    if (pos == std::string_view::npos || text.substr(0, pos) != kFirstLine) {
        error = std::string(kFileName) + " is not a record Pagewell wrote";
        return false;
    }
    while (++pos < text.size()) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line = text.substr(pos, end - pos);
        if (!ParseLine(line, manifest)) {
            error = std::string(kFileName) + " names '" + std::string(line.substr(0, 200))
                + "', which is not a file of the folder Pagewell publishes into; nothing was changed";
            return false;
        }
        pos = end;
    }
    return true;
}

std::string CPublishedManifest::Format() const
{
    std::string text(kFirstLine);
    text += '\n';
    for (const auto& [name, entry] : m_entries) {
        if (entry.IsPending())
            text += "- - ";
        else
            text += entry.strHash + ' ' + std::to_string(entry.nSize) + ' ';
        text += name;
        text += '\n';
    }
    return text;
}
