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
    struct CTemplate {
        std::vector<std::string> pieces;
        // The size of the last expansion through this template: objects of a
        // kind tend to expand to similar sizes, so the next output starts with
        // that much room instead of growing (and being copied) step by step.
        size_t nOutputHint = 0;
    };

    // The template at path (as the program builds it), or null when it
    // cannot be opened.
    CTemplate* GetTemplate(const CString& path, const CFileLocator& locator, CFileSystem& files);

private:
    std::unordered_map<CString, std::optional<CTemplate>> m_templates;
};
