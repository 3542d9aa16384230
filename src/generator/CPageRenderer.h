#pragma once

#include <string_view>

#include "model/CTreeItem.h"
#include "platform/CString.h"

class CGenerationRun;

// One page as its file would hold it, made in memory.
struct CRenderedPage {
    // The bytes of the page file: the expansion and one line end, every line
    // end CR LF.
    CString strText;
    // The log lines the expansion added (each ending in CR LF).
    CString strLog;
    // False when the page's own template could not be opened or the
    // expansion was stopped: the page must not replace an old one.
    bool bComplete = false;
};

// Expands a page through its template into memory and writes nothing: the
// page writer, a preview and a server all render through it. Messages go to
// the run's user interface (a collecting one for callers that show them in
// place), log lines to the run's log and to the result.
class CPageRenderer {
public:
    explicit CPageRenderer(CGenerationRun& run)
        : m_run(run)
    { }

    CRenderedPage Render(HTREEITEM hItem);

    // What the page file holds: the expansion and one line end, in text mode
    // (every LF written as CR LF).
    static CString MakePageText(std::string_view expansion);

private:
    CGenerationRun& m_run;
};
