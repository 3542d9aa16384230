#pragma once

#include <string_view>

#include "model/CTreeItem.h"
#include "platform/CString.h"

class CGenerationRun;

// Writes the file of one page: the destination + "/" + tag + ".htm", holding
// the expansion of the page through the page template and one line end, every
// line end written as CR LF.
class CPageWriter {
public:
    explicit CPageWriter(CGenerationRun& run)
        : m_run(run)
    { }

    void CreatePage(HTREEITEM hItem);

    // The page file's path as the log shows it.
    static CString GetPagePath(const CString& destination, const CString& tag);
    // What the page file holds: the expansion and one line end, in text mode
    // (every LF written as CR LF).
    static CString MakePageText(std::string_view expansion);

private:
    void ReportUnableToOpen(const CString& path);

    CGenerationRun& m_run;
};
