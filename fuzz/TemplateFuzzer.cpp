// Feeds arbitrary templates to a whole generation run over a small fixed
// project: the input is split at its first two NUL bytes into the page, the
// paragraph and the link template. Files live in memory; page files and
// images go to /dev/null. The run must finish, whatever the templates say.
#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generator/CGenerateDlg.h"
#include "generator/CGenerationRun.h"
#include "model/CDocProperties.h"
#include "model/CNode.h"
#include "model/CSiteTree.h"
#include "platform/CAtomicFile.h"
#include "platform/CFile.h"
#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/CSilentUserInterface.h"

namespace {

// The workspace: the three templates and one image, all in memory.
class CMemoryFileSystem : public CFileSystem {
public:
    std::map<std::string, std::string> m_files;

    EFileError ReadFile(const std::string& path, std::string& contents) override
    {
        const auto it = m_files.find(path);
        if (it == m_files.end())
            return EFileError::NotFound;
        contents = it->second;
        return EFileError::None;
    }
    std::unique_ptr<CAtomicFile> CreateAtomic(const std::string&, EFileError& error) override
    {
        error = EFileError::AccessDenied;
        return nullptr;
    }
    std::unique_ptr<CFile> OpenForRead(const std::string& path, EFileError& error) override
    {
        if (m_files.count(path) == 0) {
            error = EFileError::NotFound;
            return nullptr;
        }
        return OpenNull(O_RDONLY, error);
    }
    std::unique_ptr<CFile> CreateForWrite(const std::string&, EFileError& error) override
    {
        return OpenNull(O_WRONLY, error);
    }
    std::unique_ptr<CFile> ReplaceForWrite(const std::string&, EFileError& error) override
    {
        return OpenNull(O_WRONLY, error);
    }
    // Pages and images go to /dev/null; with no temporary file the final
    // rename fails, which the run reports like a full disk.
    std::unique_ptr<CAtomicFile> CreateReplacement(const std::string& path, EFileError& error) override
    {
        const int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        error = fd < 0 ? EFileError::Generic : EFileError::None;
        return fd < 0 ? nullptr : std::make_unique<CAtomicFile>(fd, "", path);
    }
    EFileError RemoveFile(const std::string&) override { return EFileError::None; }
    bool Exists(const std::string& path) override { return m_files.count(path) != 0 || IsDirectory(path); }
    bool IsDirectory(const std::string& path) override
    {
        return path == "." || path == "out" || path == "templates" || path == "images";
    }
    bool ListFolder(const std::string& path, std::vector<std::string>& names) override
    {
        names.clear();
        if (!IsDirectory(path))
            return false;
        const std::string prefix = path + "/";
        for (const auto& [name, contents] : m_files) {
            if (name.starts_with(prefix))
                names.push_back(name.substr(prefix.size()));
        }
        return true;
    }

private:
    static std::unique_ptr<CFile> OpenNull(int flags, EFileError& error)
    {
        const int fd = ::open("/dev/null", flags | O_CLOEXEC);
        error = fd < 0 ? EFileError::Generic : EFileError::None;
        return fd < 0 ? nullptr : std::make_unique<CFile>(fd);
    }
};

HTREEITEM Add(CSiteTree& tree, HTREEITEM hParent, const char* tag, uint32_t type, const char* title,
    const char* text = "")
{
    auto pNode = std::make_unique<CNode>(nullptr);
    pNode->m_nType = type;
    pNode->m_strTitle = title;
    pNode->m_strText = text;
    return tree.InsertItem(tag, std::move(pNode), hParent, ETreeInsert::Last);
}

// Root page with a section, two links and a child page, which has a section
// with a link of its own; titles use the table of contents and line breaks.
void BuildSite(CSiteTree& tree)
{
    const HTREEITEM hRoot = Add(tree, nullptr, "Index", NODE_PAGE, "Home [$i]", "Welcome\r\n<B>bold</B>");
    hRoot->GetNode()->m_info.m_strIcon = "logo.gif";
    hRoot->GetNode()->m_nTitleFormat = 0x0A;
    Add(tree, hRoot, "news", NODE_PARAGRAPH, "News", "Some [$$] text");
    Add(tree, hRoot, "l1", NODE_LINK, "A link\r\nhttp://example.com/a");
    Add(tree, hRoot, "l2", NODE_LINK, "Another http://example.com/b");
    const HTREEITEM hAbout = Add(tree, hRoot, "About", NODE_PAGE, "About us", "Text");
    hAbout->GetNode()->m_info.m_bNew = 1;
    hAbout->GetNode()->m_info.m_strLineImage = "line.gif";
    const HTREEITEM hSection = Add(tree, hAbout, "team", NODE_PARAGRAPH, "Team", "[$i]");
    Add(tree, hSection, "me", NODE_LINK, "Me mailto:me@example.com");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view parts[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t end = i < 2 ? input.find('\0', start) : std::string_view::npos;
        parts[i] = start <= input.size()
            ? input.substr(start, end == std::string_view::npos ? end : end - start)
            : std::string_view();
        start = end == std::string_view::npos ? input.size() + 1 : end + 1;
    }

    CMemoryFileSystem files;
    files.m_files["templates/Fuzz.hdr.txt"] = std::string(parts[0]);
    files.m_files["templates/Fuzz.pgh.txt"] = std::string(parts[1]);
    files.m_files["templates/Fuzz.lnk.txt"] = std::string(parts[2]);
    files.m_files["images/logo.gif"] = "GIF89a";

    CSiteTree tree;
    BuildSite(tree);
    CDocProperties props;
    props.m_strTemplate = "Fuzz";
    props.m_strBullet = "dot.gif";
    CGenerateDlg settings;
    settings.m_strDestination = "out";
    CSilentUserInterface ui;
    const CFileLocator locator(files, "");
    CGenerationRun run(tree, props, settings, ui, files, locator);
    run.Run();
    return 0;
}
