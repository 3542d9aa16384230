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
    // Text-mode output: every LF becomes CR LF.
    static CString ToCrLf(std::string_view text);

private:
    void ReportUnableToOpen(const CString& path);

    CGenerationRun& m_run;
};
