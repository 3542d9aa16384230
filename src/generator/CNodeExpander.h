#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/CTreeItem.h"
#include "platform/CString.h"

class CGenerationRun;
class CMacroContext;

// Expands one object through the template of its type from the project's
// template set: "templates/" + name + ".hdr.txt" for a page, ".pgh.txt" for
// a paragraph, ".lnk.txt" for a link.
class CNodeExpander {
public:
    explicit CNodeExpander(CGenerationRun& run)
        : m_run(run)
    { }

    // A new record whose output is the expansion; empty when the template
    // cannot be opened (after a message box).
    std::unique_ptr<CMacroContext> CreateNode(HTREEITEM hItem);

    // The template path of an object type, as the log and messages show it.
    static CString GetTemplatePath(const CString& templateName, uint32_t type);

private:
    void ScanTemplate(HTREEITEM hItem, const std::vector<std::string>& pieces, CMacroContext& context);

    CGenerationRun& m_run;
};
