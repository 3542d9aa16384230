#pragma once

#include "model/CTreeItem.h"
#include "platform/CString.h"

class CGenerationRun;
class CMacroContext;

// The LINKS macro: one line per child of the object with a reference to it
// (bracketed when it leads to another page file), the paragraph and link
// children rendered into LINKBODY through their own templates, and, on the
// root page, the home links of the whole run.
class CLinkList {
public:
    CLinkList(CGenerationRun& run, CMacroContext& context)
        : m_run(run)
        , m_context(context)
    { }

    void Evaluate(HTREEITEM hItem);

private:
    void AddChild(HTREEITEM hItem, HTREEITEM hChild);
    void AddModernChild(HTREEITEM hItem, HTREEITEM hChild, const CString& reference);
    // Renders a paragraph or link child into LINKBODY.
    void AddBody(HTREEITEM hChild);

    CGenerationRun& m_run;
    CMacroContext& m_context;
};
