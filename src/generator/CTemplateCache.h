#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/CString.h"

class CFileLocator;
class CFileSystem;

// The template files of one generation run, each read from disk once: the
// first expansion that needs a file reads it and splits it into the pieces
// the scanner takes; later expansions reuse the pieces, or the failure to
// open the file (which every expansion still reports).
class CTemplateCache {
public:
    // The pieces of the template at path (as the program builds it), or null
    // when it cannot be opened.
    const std::vector<std::string>* GetPieces(
        const CString& path, const CFileLocator& locator, CFileSystem& files);

private:
    std::unordered_map<CString, std::optional<std::vector<std::string>>> m_templates;
};
