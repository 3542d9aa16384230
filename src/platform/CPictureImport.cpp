#include "platform/CPictureImport.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "platform/CCodePage.h"
#include "platform/CFileSystem.h"

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 6> kExtensions = { "gif", "png", "jpg", "jpeg", "webp", "svg" };

std::string Lowered(std::string_view text)
{
    std::string result(text);
    CCodePage::AsciiLower(result);
    return result;
}

std::string_view FileNamePart(std::string_view path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The name before its last dot, and the extension after it ("" for none).
std::pair<std::string_view, std::string_view> SplitExtension(std::string_view name)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return { name, {} };
    return { name.substr(0, dot), name.substr(dot + 1) };
}

std::string MessageOf(EFileError error)
{
    switch (error) {
    case EFileError::NotFound:
        return "it does not exist";
    case EFileError::AccessDenied:
        return "access is denied";
    case EFileError::DiskFull:
        return "the disk is full";
    case EFileError::BadPath:
        return "it is not a regular file";
    default:
        return "the file could not be read or written";
    }
}

} // namespace

CPictureImport::CPictureImport(
    CFileSystem& files, std::string folder, std::string defaultFolder, bool bSubfolders)
    : m_files(files)
    , m_strFolder(std::move(folder))
    , m_strDefaultFolder(std::move(defaultFolder))
    , m_bSubfolders(bSubfolders)
{ }

bool CPictureImport::IsPictureName(std::string_view fileName)
{
    const std::string extension = Lowered(SplitExtension(FileNamePart(fileName)).second);
    return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

std::string CPictureImport::SafeName(std::string_view fileName)
{
    const auto [stem, extension] = SplitExtension(FileNamePart(fileName));
    std::string safe;
    for (const char lower : Lowered(stem)) {
        const bool bKept = (lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9') || lower == '_';
        if (bKept)
            safe += lower;
        else if (!safe.empty() && safe.back() != '-')
            safe += '-';
    }
    while (!safe.empty() && safe.back() == '-')
        safe.pop_back();
    if (safe.empty())
        safe = "picture";
    std::string safeExtension;
    for (const char lower : Lowered(extension)) {
        if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9'))
            safeExtension += lower;
    }
    return safeExtension.empty() ? safe : safe + "." + safeExtension;
}

std::string CPictureImport::AltText(std::string_view fileName)
{
    std::string alt;
    for (const char c : SplitExtension(FileNamePart(fileName)).first) {
        const bool bSpace = c == '-' || c == '_' || c == ' ';
        if (!bSpace)
            alt += c;
        else if (!alt.empty() && alt.back() != ' ')
            alt += ' ';
    }
    while (!alt.empty() && alt.back() == ' ')
        alt.pop_back();
    return alt;
}

CPictureImport::CResult CPictureImport::Import(const std::string& source, const CAsk& ask) const
{
    std::error_code error;
    if (!fs::is_regular_file(source, error))
        return { EOutcome::Failed, {}, "\"" + source + "\" is not a file." };
    if (!IsPictureName(source))
        return { EOutcome::Failed, {},
            "\"" + source + "\" is not a picture the web shows (GIF, PNG, JPEG, WebP or SVG)." };
    if (std::string inside = NameInside(source); !inside.empty())
        return { EOutcome::Inside, std::move(inside), {} };

    const std::string name = SafeName(source);
    const std::string taken = FindTaken(name);
    EOutcome outcome = EOutcome::Copied;
    std::string target = name;
    if (!taken.empty()) {
        const std::string there = ReadFolder() + "/" + taken;
        if (fs::is_regular_file(there, error) && m_files.HaveSameContent(there, source))
            return { EOutcome::Existing, taken, {} };
        // A folder or other odd entry under the name is no picture to ask about.
        const EClashAnswer answer = fs::is_regular_file(there, error) ? ask(taken) : EClashAnswer::KeepBoth;
        switch (answer) {
        case EClashAnswer::UseExisting:
            return { EOutcome::Existing, taken, {} };
        case EClashAnswer::Cancel:
            return { EOutcome::Cancelled, {}, {} };
        case EClashAnswer::KeepBoth:
            target = FreeName(name);
            break;
        case EClashAnswer::Replace:
            target = taken;
            outcome = EOutcome::Replaced;
            break;
        }
    }
    if (std::string message = CopyIn(source, target); !message.empty())
        return { EOutcome::Failed, {}, std::move(message) };
    return { outcome, target, {} };
}

std::string CPictureImport::FreeName(const std::string& name) const
{
    if (FindTaken(name).empty())
        return name;
    const auto [stem, extension] = SplitExtension(name);
    const std::string suffix = extension.empty() ? std::string() : "." + std::string(extension);
    for (int n = 2;; ++n) {
        std::string candidate = std::string(stem) + "-" + std::to_string(n) + suffix;
        if (FindTaken(candidate).empty())
            return candidate;
    }
}

std::string CPictureImport::ReadFolder() const
{
    std::error_code error;
    if (!m_strDefaultFolder.empty() && !fs::exists(m_strFolder, error)
        && fs::is_directory(m_strDefaultFolder, error))
        return m_strDefaultFolder;
    return m_strFolder;
}

std::string CPictureImport::NameInside(const std::string& source) const
{
    std::error_code error;
    const fs::path folder = fs::canonical(ReadFolder(), error);
    if (error)
        return {};
    // Links followed: a link in the folder to a picture elsewhere is copied.
    const fs::path picture = fs::canonical(source, error);
    if (error)
        return {};
    const fs::path relative = picture.lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..")
        return {};
    if (!m_bSubfolders && relative.has_parent_path())
        return {};
    return relative.generic_string();
}

std::string CPictureImport::FindTaken(const std::string& name) const
{
    std::error_code error;
    const std::string wanted = Lowered(name);
    std::string found;
    for (fs::directory_iterator it(ReadFolder(), error), end; !error && it != end; it.increment(error)) {
        std::string entry = it->path().filename().string();
        if (entry == name)
            return entry;
        if (found.empty() && Lowered(entry) == wanted)
            found = std::move(entry);
    }
    return found;
}

std::string CPictureImport::EnsureFolder() const
{
    std::error_code error;
    if (fs::is_directory(m_strFolder, error))
        return {};
    // The new folder hides the default one from every name the project uses:
    // it starts with the default pictures so that those names still work.
    if (!m_strDefaultFolder.empty() && fs::is_directory(m_strDefaultFolder, error)) {
        fs::copy(m_strDefaultFolder, m_strFolder, fs::copy_options::recursive, error);
        if (error) {
            std::error_code ignored;
            fs::remove_all(m_strFolder, ignored);
        }
    } else {
        fs::create_directories(m_strFolder, error);
    }
    return error ? "Unable to create the folder \"" + m_strFolder + "\": " + error.message() + "."
                 : std::string();
}

std::string CPictureImport::CopyIn(const std::string& source, const std::string& name) const
{
    if (std::string message = EnsureFolder(); !message.empty())
        return message;
    const std::string target = m_strFolder + "/" + name;
    std::string bytes;
    EFileError error = m_files.ReadFile(source, bytes);
    if (error != EFileError::None)
        return "Unable to read \"" + source + "\": " + MessageOf(error) + ".";
    error = m_files.WriteFileAtomic(target, bytes);
    if (error != EFileError::None)
        return "Unable to copy \"" + source + "\" to \"" + target + "\": " + MessageOf(error) + ".";
    return {};
}
