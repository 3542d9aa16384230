#include "generator/CTemplateCache.h"

#include "platform/CFileLocator.h"
#include "platform/CFileSystem.h"
#include "platform/CTextLineReader.h"

const std::vector<std::string>* CTemplateCache::GetPieces(
    const CString& path, const CFileLocator& locator, CFileSystem& files)
{
    auto it = m_templates.find(path);
    if (it == m_templates.end()) {
        std::optional<std::vector<std::string>> pieces;
        std::string contents;
        if (files.ReadFile(locator.LocateForRead(path), contents) == EFileError::None) {
            pieces.emplace();
            CTextLineReader reader(contents);
            for (std::string piece; reader.ReadLine(piece);)
                pieces->push_back(piece);
        }
        it = m_templates.emplace(path, std::move(pieces)).first;
    }
    return it->second ? &*it->second : nullptr;
}
