#include "generator/CPictureCache.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/CHash128.h"

namespace {

constexpr std::string_view kHeader = "pagewell-picture 1\n";

// Reads one "number text" line; false at a damaged one.
bool ReadLine(std::istringstream& in, int64_t& number, std::string& text)
{
    std::string line;
    if (!std::getline(in, line))
        return false;
    const size_t blank = line.find(' ');
    if (blank == std::string::npos)
        return false;
    try {
        number = std::stoll(line.substr(0, blank));
    } catch (const std::exception&) {
        return false;
    }
    text = line.substr(blank + 1);
    return number >= 0;
}

} // namespace

std::string CPictureCache::MakeKey(
    std::string_view bytes, std::string_view name, const CPictureOptions& options)
{
    CHash128 hash;
    // A new way of converting makes new entries.
    hash.AddString("Pagewell picture 1");
    hash.AddString(name);
    hash.AddNumber(static_cast<uint64_t>(options.nMaxWidth));
    hash.AddNumber(options.bKeepMetadata ? 1 : 0);
    hash.AddNumber(options.bVariants ? 1 : 0);
    hash.AddNumber(bytes.size());
    hash.Add(bytes);
    return hash.GetHex();
}

std::string CPictureCache::Serialize(const CPicture& picture)
{
    std::string text(kHeader);
    text += std::to_string(picture.nWidth) + " " + std::to_string(picture.nHeight) + "\n";
    text += std::to_string(picture.srcset.size()) + " " + picture.strSrc + "\n";
    for (const CPicture::CSource& source : picture.srcset)
        text += std::to_string(source.nWidth) + " " + source.strName + "\n";
    text += std::to_string(picture.files.size()) + " files\n";
    for (const CPicture::CFile& file : picture.files)
        text += std::to_string(file.bytes.size()) + " " + file.strName + "\n";
    for (const CPicture::CFile& file : picture.files)
        text += file.bytes;
    return text;
}

std::optional<CPicture> CPictureCache::Parse(std::string_view bytes)
{
    if (!bytes.starts_with(kHeader))
        return std::nullopt;
    std::istringstream in(std::string(bytes.substr(kHeader.size())));
    CPicture picture;
    int64_t number = 0;
    std::string text;
    if (!ReadLine(in, number, text))
        return std::nullopt;
    picture.nWidth = static_cast<int>(number);
    picture.nHeight = std::atoi(text.c_str());
    if (!ReadLine(in, number, text) || number > 64)
        return std::nullopt;
    picture.strSrc = text;
    picture.srcset.resize(static_cast<size_t>(number));
    for (CPicture::CSource& source : picture.srcset) {
        if (!ReadLine(in, number, text))
            return std::nullopt;
        source = { text, static_cast<int>(number) };
    }
    if (!ReadLine(in, number, text) || number > 64)
        return std::nullopt;
    picture.files.resize(static_cast<size_t>(number));
    std::vector<size_t> sizes;
    for (CPicture::CFile& file : picture.files) {
        if (!ReadLine(in, number, text))
            return std::nullopt;
        file.strName = text;
        sizes.push_back(static_cast<size_t>(number));
    }
    size_t pos = static_cast<size_t>(in.tellg());
    const std::string_view data = bytes.substr(kHeader.size());
    for (size_t i = 0; i < picture.files.size(); ++i) {
        if (pos > data.size() || sizes[i] > data.size() - pos)
            return std::nullopt;
        picture.files[i].bytes = data.substr(pos, sizes[i]);
        pos += sizes[i];
    }
    if (pos != data.size())
        return std::nullopt;
    return picture;
}

std::optional<CPicture> CPictureCache::Load(const std::string& key) const
{
    if (!IsOn())
        return std::nullopt;
    std::ifstream in(std::filesystem::path(m_strFolder) / key, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return Parse(bytes.str());
}

void CPictureCache::Save(const std::string& key, const CPicture& picture) const
{
    if (!IsOn())
        return;
    static std::atomic<unsigned> nSerial { 0 };
    std::error_code ignored;
    std::filesystem::create_directories(m_strFolder, ignored);
    const std::filesystem::path path = std::filesystem::path(m_strFolder) / key;
    const std::filesystem::path temp
        = path.string() + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(nSerial++);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << Serialize(picture);
        if (!out.flush()) {
            std::filesystem::remove(temp, ignored);
            return;
        }
    }
    std::filesystem::rename(temp, path, ignored);
    if (ignored)
        std::filesystem::remove(temp, ignored);
}
