#pragma once

#include "model/CTreeItem.h"
#include "platform/CString.h"

class CGenerationRun;

// Writes the file of one page: the destination + "/" + tag + ".htm", holding
// the page as CPageRenderer makes it, replacing the old file atomically.
class CPageWriter {
public:
    explicit CPageWriter(CGenerationRun& run)
        : m_run(run)
    { }

    void CreatePage(HTREEITEM hItem);

    // The page file's path as the log shows it.
    static CString GetPagePath(const CString& destination, const CString& tag);

private:
    void ReportUnableToOpen(const CString& path);

    CGenerationRun& m_run;
};
