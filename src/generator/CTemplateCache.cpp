#include "generator/CTemplateCache.h"

#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/CPathRules.h"
#include "platform/CTextLineReader.h"

CTemplateCache::CTemplate* CTemplateCache::GetTemplate(
    const CString& path, const CFileLocator& locator, CFileSystem& files)
{
    auto it = m_templates.find(path);
    if (it == m_templates.end()) {
        std::optional<CTemplate> loaded;
        std::string contents;
        // A template set named outside the workspace, or a link to a file
        // outside it, is treated as missing.
        if (!locator.LiesOutside(path)
            && files.ReadFile(locator.LocateForRead(path), contents) == EFileError::None) {
            loaded.emplace();
            CTextLineReader reader(contents);
            for (std::string piece; reader.ReadLine(piece);)
                loaded->pieces.push_back(piece);
        }
        it = m_templates.emplace(path, std::move(loaded)).first;
    }
    return it->second ? &*it->second : nullptr;
}
